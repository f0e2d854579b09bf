// Building the main window: the plan and editor columns with Play and the
// speed buttons, the menus and their items (named as the forms named them),
// and fitting the layout to the screen and to the window's size.
#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>

#include <cmath>

#include "app/button_pictures.h"
#include "app/editor_assist.h"
#include "app/export_actions.h"
#include "app/follow_officer.h"
#include "app/main_window.h"
#include "app/my_simulations.h"
#include "app/plan_view.h"
#include "app/practice_session.h"
#include "app/script_editor.h"
#include "app/script_files.h"
#include "app/timeline_panel.h"
#include "render/plan_picture.h"
#include "simulations/catalogue.h"

namespace velistrad {

namespace {

const QKeySequence kPlayPauseKeys(Qt::CTRL | Qt::Key_P);
const QKeySequence kResetKeys(Qt::CTRL | Qt::Key_R);

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

// At its natural size the plan is at its own size, in pixels of 15 twips:
// 486 by 700 with the timeline under it; the editor column beside it is as
// wide as a line of a script needs. The plan scales with the window; the
// splitter gives the editor more room.
void MainWindow::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);
    m_splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter->setObjectName(QStringLiteral("PlanSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setHandleWidth(4);
    outer->addWidget(m_splitter, 1);

    auto* planColumn = new QWidget(m_splitter);
    auto* planLayout = new QVBoxLayout(planColumn);
    planLayout->setContentsMargins(0, 0, 0, 0);
    planLayout->setSpacing(2);
    m_plan = new PlanView(m_room, planColumn);
    planLayout->addWidget(m_plan, 1);

    auto* editorColumn = new QWidget(m_splitter);
    auto* column = new QVBoxLayout(editorColumn);
    column->setContentsMargins(0, 0, 1, 0);
    column->setSpacing(3);

    m_controls.simulate = new QPushButton(central);
    m_controls.simulate->setObjectName(QStringLiteral("Simulate"));
    m_controls.simulate->setFixedSize(61, 28);
    m_controls.simulate->setIcon(playPicture());
    m_controls.simulate->setIconSize(QSize(16, 16));

    m_editor = new ScriptEdit(central);
    m_editor->setObjectName(QStringLiteral("Directions"));
    m_editor->setMinimumSize(80, 60);
    // Tab leaves the editor, as in a form: blanks mean nothing in a script.
    m_editor->setTabChangesFocus(true);
    QFont editorFont = m_editor->font();
    editorFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                            QStringLiteral("Liberation Sans")});
    editorFont.setPointSizeF(8.5);
    m_editor->setFont(editorFont);
    m_editor->installEventFilter(this);
    m_editor->viewport()->installEventFilter(this);
    // The kept timeline shows what the script played; once it changes, that
    // is gone, or while its run is held, shown as the run before the edit.
    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_simulator) return;
        if (!m_simulator->busy) m_simulator->discardTimeline();
        m_timeline->update();
    });

    // Pause and Swap are never shown: they only hold pictures.
    m_controls.pause = new QPushButton(central);
    m_controls.pause->setObjectName(QStringLiteral("Pause"));
    m_controls.pause->setGeometry(488, 628, 7, 19);
    m_controls.pause->setIcon(pausePicture());
    m_controls.pause->hide();
    m_controls.swap = new QPushButton(QStringLiteral("Command2"), central);
    m_controls.swap->setObjectName(QStringLiteral("Swap"));
    m_controls.swap->setGeometry(496, 628, 7, 19);
    m_controls.swap->hide();

    auto* label = new QLabel(QStringLiteral("Speed"), central);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFixedSize(41, 13);
    label->setAlignment(Qt::AlignCenter);

    // The speed buttons overlap by a pixel, as a row of keys.
    auto* speeds = new QWidget(central);
    speeds->setObjectName(QStringLiteral("SpeedButtons"));
    speeds->setFixedSize(16 * 5 + 1, 21);
    column->addWidget(m_editor, 1);
    column->addWidget(m_controls.simulate, 0, Qt::AlignHCenter);
    column->addSpacing(5);
    column->addWidget(label, 0, Qt::AlignHCenter);
    column->addWidget(speeds, 0, Qt::AlignHCenter);
    column->addSpacing(3);

    for (int i = 0; i < 5; ++i) {
        auto* button = new QPushButton(QString::number(i + 1), speeds);
        button->setObjectName(QStringLiteral("SpeedB(%1)").arg(i));
        button->setGeometry(16 * i, 0, 17, 21);
        button->setToolTip(QStringLiteral("%1 speed (F%2)").arg(qs(speedName(i + 1))).arg(i + 1));
        connect(button, &QPushButton::clicked, this, [this, i] { m_simulator->setSpeed(i + 1); });
        m_controls.speedButtons[static_cast<std::size_t>(i)] = button;
    }
    connect(m_controls.simulate, &QPushButton::clicked, this,
            [this] { m_simulator->playOrPause(); });
    m_controls.simulate->setToolTip(
        QStringLiteral("Play the simulation, or pause it while it plays (%1)")
            .arg(kPlayPauseKeys.toString(QKeySequence::NativeText)));

    m_splitter->addWidget(planColumn);
    m_splitter->addWidget(editorColumn);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_editorWidth = m_editor->sizeHint().width();
    m_splitter->setSizes({486, m_editorWidth});

    setTabOrder(m_controls.simulate, m_editor);
    setTabOrder(m_editor, m_controls.speedButtons[0]);
    for (std::size_t i = 1; i < m_controls.speedButtons.size(); ++i)
        setTabOrder(m_controls.speedButtons[i - 1], m_controls.speedButtons[i]);
    m_controls.simulate->setFocus();
    m_assist->build(statusBar());
    connect(m_splitter, &QSplitter::splitterMoved, this,
            [this] { m_editorWidth = m_splitter->sizes().value(1, m_editorWidth); });
}

void MainWindow::buildMenus() {
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(qs(name));
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("M_File"));
    m_scriptFiles->build(file);
    m_export->build(file);
    m_controls.hideCode = addItem(file, "Toggle_HideCode", QStringLiteral("Hide Simulation Code"));
    m_controls.hideCode->setCheckable(true);
    connect(m_controls.hideCode, &QAction::triggered, this, &MainWindow::toggleHideCode);
    // Checked while it is on, so that the user sees how to end it.
    m_controls.kiosk = addItem(file, "Toggle_Kiosk", QStringLiteral("Kiosk Mode"));
    m_controls.kiosk->setCheckable(true);
    connect(m_controls.kiosk, &QAction::triggered, this, &MainWindow::toggleKioskMode);
    connect(addItem(file, "Quit_Simulator", QStringLiteral("Quit")), &QAction::triggered, this,
            &MainWindow::quit);

    QMenu* speed = menuBar()->addMenu(QStringLiteral("S&peed"));
    speed->setObjectName(QStringLiteral("M_Speed"));
    for (int i = 1; i <= 5; ++i) {
        QAction* action = speed->addAction(qs(speedName(i)));
        action->setObjectName(QStringLiteral("Speed(%1)").arg(i));
        action->setCheckable(true);
        action->setChecked(i == 3);
        action->setShortcut(QKeySequence(Qt::Key_F1 + (i - 1)));
        connect(action, &QAction::triggered, this, [this, i] { m_simulator->setSpeed(i); });
        m_controls.speedItems[static_cast<std::size_t>(i)] = action;
    }

    QMenu* playback = menuBar()->addMenu(QStringLiteral("P&layback"));
    playback->setObjectName(QStringLiteral("M_Playback"));
    // The Play button's own press, from anywhere in the window.
    QAction* play = addItem(playback, "Playback_PlayPause", QStringLiteral("Play/Pause"));
    play->setShortcut(kPlayPauseKeys);
    connect(play, &QAction::triggered, this, [this] { m_simulator->playOrPause(); });
    playback->addSeparator();
    // The slider goes under the plan, in the plan's column.
    m_timeline->build(centralWidget(), static_cast<QBoxLayout*>(m_plan->parentWidget()->layout()),
                      playback);

    QMenu* officer = menuBar()->addMenu(QStringLiteral("&Officer"));
    officer->setObjectName(QStringLiteral("M_Officer"));
    m_follow->build(officer);
    // Once every item of it is in place and the window is on its screen.
    QMetaObject::invokeMethod(
        this, [this, officer] { keepInOneColumn(officer); }, Qt::QueuedConnection);

    QMenu* practiceMenu = menuBar()->addMenu(QStringLiteral("P&ractice"));
    practiceMenu->setObjectName(QStringLiteral("M_Practice"));

    QMenu* simulations = menuBar()->addMenu(QStringLiteral("&Simulations"));
    simulations->setObjectName(QStringLiteral("M_Simulations"));
    buildSimulationsMenu(simulations);
    // After the Simulations menu, whose known movements it marks.
    (new PracticeSession(
         *this, *m_follow, [this](std::size_t movement) { loadCatalogueEntry(movement); },
         QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)))
        ->build(practiceMenu);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("M_Help"));
    connect(addItem(help, "Help_About", QStringLiteral("About")), &QAction::triggered, this,
            &MainWindow::showAbout);
    connect(addItem(help, "Help_Howto", QStringLiteral("How To Use")), &QAction::triggered, this,
            &MainWindow::showHowTo);
    connect(addItem(help, "Help_Basics", QStringLiteral("Velistrad Basics")), &QAction::triggered,
            this, &MainWindow::showBasics);
    connect(addItem(help, "Help_Programming", QStringLiteral("Programming")), &QAction::triggered,
            this, &MainWindow::showProgrammingReference);
    connect(addItem(help, "Help_Location", QStringLiteral("Where My Simulations Are Kept")),
            &QAction::triggered, m_mySimulations, &MySimulations::showLocation);
}

// A menu taller than the screen is split into columns, and its last items
// end up stranded beside the officers: on such a screen the officers go
// into a submenu of their own.
void MainWindow::keepInOneColumn(QMenu* officerMenu) {
    officerMenu->ensurePolished();  // its font and margins as it will be shown
    // Qt lays the items out for the menu's screen, in columns where they must.
    const QList<QAction*> items = officerMenu->actions();
    if (items.isEmpty() || officerMenu->actionGeometry(items.constFirst()).left() ==
                               officerMenu->actionGeometry(items.constLast()).left())
        return;
    QMenu* follow = new QMenu(QStringLiteral("Follow"), officerMenu);
    follow->setObjectName(QStringLiteral("M_Follow"));
    QAction* first = nullptr;
    QAction* separator = nullptr;
    for (QAction* action : officerMenu->actions()) {
        const QString name = action->objectName();
        if (name == QStringLiteral("Officer_None") || name.startsWith(QStringLiteral("Officer("))) {
            if (first == nullptr) first = action;
            officerMenu->removeAction(action);
            follow->addAction(action);
            if (name == QStringLiteral("Officer_None")) follow->addSeparator();
        } else if (action->isSeparator() && first != nullptr && separator == nullptr) {
            separator = action;  // the one between None and the officers
        }
    }
    if (separator) officerMenu->removeAction(separator);
    officerMenu->insertMenu(officerMenu->actions().value(0), follow);
}

void MainWindow::buildSimulationsMenu(QMenu* menu) {
    QAction* reset = menu->addAction(QStringLiteral("Reset"));
    reset->setObjectName(QStringLiteral("Do_Reset"));
    reset->setShortcut(kResetKeys);
    reset->setToolTip(QStringLiteral("Every officer back to his station (%1)")
                          .arg(kResetKeys.toString(QKeySequence::NativeText)));
    connect(reset, &QAction::triggered, this, [this] {
        m_simulator->reset();
        m_assist->checkNow();  // from the stations, with the user's script back in place
    });
    QAction* save = menu->addAction(QStringLiteral("Save Current Simulation"));
    save->setObjectName(QStringLiteral("SaveSimulation"));
    connect(save, &QAction::triggered, m_mySimulations, &MySimulations::saveCurrent);
    QAction* manage = menu->addAction(QStringLiteral("Manage My Simulations…"));
    manage->setObjectName(QStringLiteral("ManageSimulations"));
    connect(manage, &QAction::triggered, m_mySimulations, &MySimulations::manage);
    menu->addSeparator()->setObjectName(QStringLiteral("Separator0"));

    const std::pair<const char*, const char*> submenus[] = {{"M_Opening", "Opening"},
                                                            {"M_Closing", "Closing"},
                                                            {"M_Initiatory", "Initiatory Degree"},
                                                            {"M_Shield", "Shield"},
                                                            {"M_Triangle", "Triangle"}};
    for (const auto& [name, caption] : submenus) {
        QMenu* submenu = menu->addMenu(qs(caption));
        submenu->setObjectName(qs(name));
        const auto& entries = catalogue();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (qstrcmp(entries[i].submenu, caption) != 0) continue;
            QAction* action = submenu->addAction(qs(entries[i].caption));
            action->setObjectName(qs(entries[i].item));
            connect(action, &QAction::triggered, this, [this, i] { loadCatalogueEntry(i); });
        }
    }
    menu->addSeparator()->setObjectName(QStringLiteral("Separator1"));

    m_mySimulations->build(menu);
}

void MainWindow::fitToScreen(const QRect& available) {
    // Room for the title bar and frame the window system adds.
    const QSize frame(16, 40);
    const QSize natural = sizeHint();
    const QSize room = available.size() - frame;
    // Qt would open a window at most two thirds of the screen high.
    resize(natural.boundedTo(room).expandedTo(minimumSizeHint()));
    if (natural.width() > room.width() || natural.height() > room.height())
        move(available.topLeft());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Once the layout has given the plan its new height.
    QMetaObject::invokeMethod(this, &MainWindow::fitSplitter, Qt::QueuedConnection);
}

void MainWindow::fitSplitter() {
    m_assist->fitProblems();
    // The plan column as wide as the plan at its height; the rest to the
    // editor, up to half as much again as its natural width (lines longer
    // than that read badly), and at least what the user gave it. Width left
    // over stays round the plan.
    const int total = m_splitter->width() - m_splitter->handleWidth();
    const int planNeeds =
        static_cast<int>(std::lround((m_plan->height() - 4.0) * kPlanWidth / kPlanHeight)) + 4;
    const int widest = m_editor->sizeHint().width() * 3 / 2;
    const int editor = std::max(m_editorWidth, std::min(total - planNeeds, widest));
    if (total - editor >= m_plan->minimumWidth()) m_splitter->setSizes({total - editor, editor});
}

}  // namespace velistrad
