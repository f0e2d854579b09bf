#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app/button_pictures.h"
#include "app/dialogs.h"
#include "app/export_actions.h"
#include "app/follow_officer.h"
#include "app/help_texts.h"
#include "app/practice_session.h"
#include "app/qt_dialogs.h"
#include "app/qt_platform.h"
#include "app/script_editor.h"
#include "simulations/catalogue.h"

namespace velistrad {

namespace {

const QColor kHighlight(0x80, 0xFF, 0x80);
const QKeySequence kPlayPauseKeys(Qt::CTRL | Qt::Key_P);
const QKeySequence kResetKeys(Qt::CTRL | Qt::Key_R);

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The Triangle cycle that Kiosk Mode plays.
constexpr const char* kKioskItems[] = {"Do_Officers_Enter", "Do_Triangle_To_Stations",
                                       "Do_Reform_Triangle", "Do_Exit_Triangle"};

std::size_t catalogueIndex(const char* item) {
    const auto& entries = catalogue();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (qstrcmp(entries[i].item, item) == 0) return i;
    return 0;
}

}  // namespace

MainWindow::MainWindow(const MainWindowSetup& setup) : m_customFile(setup.customFile) {
    m_dialogs = setup.dialogs;
    if (!m_dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(this);
        m_dialogs = m_ownDialogs.get();
    }
    m_clock = setup.clock;
    if (!m_clock) {
        m_ownClock = std::make_unique<QtClock>();
        m_clock = m_ownClock.get();
    }
    m_pump = setup.pump;
    if (!m_pump) {
        m_ownPump = std::make_unique<QtEventPump>(*m_clock);
        m_pump = m_ownPump.get();
    }

    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(qs(kProgramTitle));
    setWindowIcon(programIcon());
    buildControls();  // the plan widget creates the label font
    buildMenus();
    resize(sizeHint());  // Qt would open it at most two thirds of the screen high
    speedChanged(3);
    m_simulator =
        std::make_unique<Simulator>(m_room, static_cast<DiagnosticSink&>(*this),
                                    static_cast<RunHost&>(*this), *m_figure, *m_clock, *m_pump);

    // Start-up: custom simulations, the placeholder, then the run state
    // (the Simulator starts at Medium, paused, not busy).
    loadcustom();
    m_directions->setPlainText(qs(kPlaceholderText));
    m_kioskmode = false;
}

MainWindow::~MainWindow() {
    // Nothing may play on into a half-destroyed window.
    m_simulator->abandon();
    m_dialogs->closeProgrammingReference();
}

// At its natural size the layout is the plan's own, in pixels of 15 twips:
// the plan at 486 by 700 with the timeline under it, the editor column 98
// wide beside it. The plan scales with the window and the splitter gives the
// editor more room.
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
    m_planColumn = new QVBoxLayout(planColumn);
    m_planColumn->setContentsMargins(0, 0, 0, 0);
    m_planColumn->setSpacing(2);
    m_figure = new PlanView(m_room, planColumn);
    m_planColumn->addWidget(m_figure, 1);

    auto* editorColumn = new QWidget(m_splitter);
    auto* column = new QVBoxLayout(editorColumn);
    column->setContentsMargins(0, 0, 1, 0);
    column->setSpacing(3);

    m_simulate = new QPushButton(central);
    m_simulate->setObjectName(QStringLiteral("Simulate"));
    m_simulate->setFixedSize(61, 28);
    m_simulate->setIcon(playPicture());
    m_simulate->setIconSize(QSize(16, 16));

    m_directions = new ScriptEdit(central);
    m_directions->setObjectName(QStringLiteral("Directions"));
    m_directions->setMinimumSize(80, 60);
    // Tab leaves the editor, as in a form: blanks mean nothing in a script.
    m_directions->setTabChangesFocus(true);
    m_directions->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QFont editorFont = m_directions->font();
    editorFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                            QStringLiteral("Liberation Sans")});
    editorFont.setPointSizeF(8.5);
    m_directions->setFont(editorFont);
    m_directions->installEventFilter(this);
    m_directions->viewport()->installEventFilter(this);
    // The kept timeline shows what the script played; once it changes, that is gone.
    connect(m_directions, &QPlainTextEdit::textChanged, this, [this] {
        if (m_simulator && !m_simulator->busy) {
            m_simulator->discardTimeline();
            updateTimeline();
        }
    });

    // Pause and Swap are never shown: they only hold pictures.
    m_pause = new QPushButton(central);
    m_pause->setObjectName(QStringLiteral("Pause"));
    m_pause->setGeometry(488, 628, 7, 19);
    m_pause->setIcon(pausePicture());
    m_pause->hide();
    m_swap = new QPushButton(QStringLiteral("Command2"), central);
    m_swap->setObjectName(QStringLiteral("Swap"));
    m_swap->setGeometry(496, 628, 7, 19);
    m_swap->hide();

    auto* label = new QLabel(QStringLiteral("Speed"), central);
    label->setObjectName(QStringLiteral("Label1"));
    label->setFixedSize(41, 13);
    label->setAlignment(Qt::AlignCenter);

    // The speed buttons overlap by a pixel, as a row of keys.
    auto* speeds = new QWidget(central);
    speeds->setObjectName(QStringLiteral("SpeedButtons"));
    speeds->setFixedSize(16 * 5 + 1, 21);
    column->addWidget(m_directions, 1);
    column->addWidget(m_simulate, 0, Qt::AlignHCenter);
    column->addSpacing(5);
    column->addWidget(label, 0, Qt::AlignHCenter);
    column->addWidget(speeds, 0, Qt::AlignHCenter);
    column->addSpacing(3);

    for (int i = 0; i < 5; ++i) {
        auto* button = new QPushButton(QString::number(i + 1), speeds);
        button->setObjectName(QStringLiteral("SpeedB(%1)").arg(i));
        button->setGeometry(16 * i, 0, 17, 21);
        button->setToolTip(QStringLiteral("%1 speed (F%2)").arg(qs(speedName(i + 1))).arg(i + 1));
        connect(button, &QPushButton::clicked, this, [this, i] { m_simulator->SpeedB_Click(i); });
        m_speedB[static_cast<std::size_t>(i)] = button;
    }
    connect(m_simulate, &QPushButton::clicked, this, [this] { m_simulator->Simulate_Click(); });
    m_simulate->setToolTip(QStringLiteral("Play the simulation, or pause it while it plays (%1)")
                               .arg(kPlayPauseKeys.toString(QKeySequence::NativeText)));

    m_splitter->addWidget(planColumn);
    m_splitter->addWidget(editorColumn);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({486, 98});

    setTabOrder(m_simulate, m_directions);
    setTabOrder(m_directions, m_speedB[0]);
    for (std::size_t i = 1; i < m_speedB.size(); ++i) setTabOrder(m_speedB[i - 1], m_speedB[i]);
    m_simulate->setFocus();
    buildEditorAssist();
}

void MainWindow::buildMenus() {
    auto addItem = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(qs(name));
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("M_File"));
    buildScriptFileItems(file);
    m_export = new ExportActions(*this);
    m_export->build(file);
    m_hideCode = addItem(file, "Toggle_HideCode", QStringLiteral("Hide Simulation Code"));
    m_hideCode->setCheckable(true);
    connect(m_hideCode, &QAction::triggered, this, &MainWindow::Toggle_HideCode_Click);
    connect(addItem(file, "Toggle_Kiosk", QStringLiteral("Kiosk Mode")), &QAction::triggered, this,
            &MainWindow::Toggle_Kiosk_Click);
    connect(addItem(file, "Quit_Simulator", QStringLiteral("Quit")), &QAction::triggered, this,
            &MainWindow::Quit_Simulator_Click);

    QMenu* speed = menuBar()->addMenu(QStringLiteral("S&peed"));
    speed->setObjectName(QStringLiteral("M_Speed"));
    for (int i = 1; i <= 5; ++i) {
        QAction* action = speed->addAction(qs(speedName(i)));
        action->setObjectName(QStringLiteral("Speed(%1)").arg(i));
        action->setCheckable(true);
        action->setChecked(i == 3);
        action->setShortcut(QKeySequence(Qt::Key_F1 + (i - 1)));
        connect(action, &QAction::triggered, this, [this, i] { m_simulator->Speed_Click(i); });
        m_speed[static_cast<std::size_t>(i)] = action;
    }

    QMenu* playback = menuBar()->addMenu(QStringLiteral("P&layback"));
    playback->setObjectName(QStringLiteral("M_Playback"));
    // The Play button's own press, from anywhere in the window.
    QAction* play = addItem(playback, "Playback_PlayPause", QStringLiteral("Play/Pause"));
    play->setShortcut(kPlayPauseKeys);
    connect(play, &QAction::triggered, this, [this] { m_simulator->Simulate_Click(); });
    playback->addSeparator();
    buildTimeline(centralWidget(), playback);

    QMenu* officer = menuBar()->addMenu(QStringLiteral("&Officer"));
    officer->setObjectName(QStringLiteral("M_Officer"));
    m_follow = new FollowOfficer(*this);
    m_follow->build(officer);

    QMenu* practiceMenu = menuBar()->addMenu(QStringLiteral("P&ractice"));
    practiceMenu->setObjectName(QStringLiteral("M_Practice"));

    QMenu* simulations = menuBar()->addMenu(QStringLiteral("&Simulations"));
    simulations->setObjectName(QStringLiteral("M_Simulations"));
    buildSimulationsMenu(simulations);
    // After the Simulations menu, whose known movements it marks.
    (new PracticeSession(*this, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)))
        ->build(practiceMenu);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("M_Help"));
    connect(addItem(help, "Help_About", QStringLiteral("About")), &QAction::triggered, this,
            &MainWindow::Help_About_Click);
    connect(addItem(help, "Help_Howto", QStringLiteral("How To Use")), &QAction::triggered, this,
            &MainWindow::Help_Howto_Click);
    connect(addItem(help, "Help_Basics", QStringLiteral("Velistrad Basics")), &QAction::triggered,
            this, &MainWindow::Help_Basics_Click);
    connect(addItem(help, "Help_Programming", QStringLiteral("Programming")), &QAction::triggered,
            this, &MainWindow::Help_Programming_Click);
    connect(addItem(help, "Help_Location", QStringLiteral("Where My Simulations Are Kept")),
            &QAction::triggered, this, &MainWindow::Help_Location_Click);
}

void MainWindow::buildSimulationsMenu(QMenu* menu) {
    QAction* reset = menu->addAction(QStringLiteral("Reset"));
    reset->setObjectName(QStringLiteral("Do_Reset"));
    reset->setShortcut(kResetKeys);
    reset->setToolTip(QStringLiteral("Every officer back to his station (%1)")
                          .arg(kResetKeys.toString(QKeySequence::NativeText)));
    connect(reset, &QAction::triggered, this, [this] {
        m_simulator->Do_Reset_Click();
        checkScriptNow();  // from the stations, with the user's script back in place
    });
    QAction* save = menu->addAction(QStringLiteral("Save Current Simulation"));
    save->setObjectName(QStringLiteral("SaveSimulation"));
    connect(save, &QAction::triggered, this, &MainWindow::SaveSimulation_Click);
    QAction* manage = menu->addAction(QStringLiteral("Manage My Simulations…"));
    manage->setObjectName(QStringLiteral("ManageSimulations"));
    connect(manage, &QAction::triggered, this, &MainWindow::ManageSimulations_Click);
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
            connect(action, &QAction::triggered, this, [this, i] { Catalogue_Click(i); });
        }
    }
    menu->addSeparator()->setObjectName(QStringLiteral("Separator1"));

    QMenu* mine = menu->addMenu(QStringLiteral("My Simulations"));
    mine->setObjectName(QStringLiteral("M_MySimulations"));
    for (int i = 1; i <= 20; ++i) {
        QAction* action = mine->addAction(i == 1 ? QStringLiteral("(none)") : QString());
        action->setObjectName(QStringLiteral("CustomSim(%1)").arg(i));
        action->setEnabled(i != 1);
        action->setVisible(i == 1);
        connect(action, &QAction::triggered, this, [this, i] { CustomSim_Click(i); });
        m_customSim[static_cast<std::size_t>(i)] = action;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Only the user going into the editor counts: the focus coming back with
    // the window or after a menu must not clear a placeholder nobody touched.
    if (watched == m_directions->viewport() && filterScriptDrop(event)) return true;
    bool userEntered = false;
    if (watched == m_directions && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        userEntered = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    } else if (watched == m_directions->viewport() && event->type() == QEvent::MouseButtonPress) {
        userEntered = true;
    }
    if (userEntered) Directions_Click();
    const bool focusMoved = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (watched == m_directions && focusMoved) {
        // Handled first, so that the preview sees the focus as it now is.
        const bool result = QMainWindow::eventFilter(watched, event);
        QMetaObject::invokeMethod(this, &MainWindow::updateRoutePreview, Qt::QueuedConnection);
        return result;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Directions_Click() {
    // Only the untouched placeholder is cleared, so a script never is.
    if (m_directions->toPlainText() == qs(kPlaceholderText)) m_directions->clear();
}

void MainWindow::Toggle_HideCode_Click() {
    // Visibility and check mark are flipped together, never set apart.
    m_directions->setVisible(m_directions->isHidden());
    m_hideCode->setChecked(m_directions->isHidden());
}

void MainWindow::Toggle_Kiosk_Click() {
    m_kioskmode = !m_kioskmode;
    // Turning it off: the loop further down the call chain stops at its next check.
    if (!m_kioskmode) return;
    for (;;) {
        for (const char* item : kKioskItems) {
            Catalogue_Click(catalogueIndex(item));
            m_simulator->Simulate_Click();
            if (!m_kioskmode || m_simulator->abandoned()) return;
        }
    }
}

void MainWindow::Quit_Simulator_Click() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!saveChangesFirst()) {
        event->ignore();
        return;
    }
    // Every nested wait returns at once and no run starts again; the runs
    // unwind back to the outermost event loop, which then ends.
    m_simulator->abandon();
    m_kioskmode = false;
    m_dialogs->closeProgrammingReference();
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::Catalogue_Click(std::size_t entry) {
    if (!leaveScriptFile()) return;
    const auto& entries = catalogue();
    const CatalogueEntry& chosen = entries[entry];
    const CatalogueEntry& shown = chosen.sharesScriptOf > 0
                                      ? entries[static_cast<std::size_t>(chosen.sharesScriptOf - 1)]
                                      : chosen;
    m_simulator->Do_Reset_Click();
    setScriptText(shown.script);
}

void MainWindow::Help_About_Click() {
    m_dialogs->message(aboutText(), QStringLiteral("About"), MessageIcon::None);
}

void MainWindow::Help_Howto_Click() {
    m_dialogs->message(howToUseText(), QStringLiteral("How To Use"), MessageIcon::None);
}

void MainWindow::Help_Basics_Click() {
    m_dialogs->message(basicsText(), QStringLiteral("Velistrad Basics"), MessageIcon::None);
}

void MainWindow::Help_Programming_Click() {
    m_dialogs->showProgrammingReference(frameGeometry());
}

std::string MainWindow::scriptText() {
    return m_directions->toPlainText().toStdString();
}

void MainWindow::setScriptText(const std::string& text) {
    m_directions->setPlainText(QString::fromStdString(text));
}

void MainWindow::picturesExchanged() {
    // One after the other, as a three-cup shuffle: Simulate and Pause trade pictures.
    m_swap->setIcon(m_simulate->icon());
    m_simulate->setIcon(m_pause->icon());
    m_pause->setIcon(m_swap->icon());
    updateTimeline();              // a run was held, resumed or ended
    if (!m_simulator->paused) {    // Play pressed: a run starts or goes on
        m_figure->setPreview({});  // the route preview gives way to the run
        m_previewHeld = true;      // until the user moves in the editor again
    } else if (!m_simulator->busy) {
        checkScriptNow();  // the officers stand elsewhere now, or the run failed
    }
}

void MainWindow::speedChanged(int index) {
    for (int i = 1; i <= 5; ++i) m_speed[static_cast<std::size_t>(i)]->setChecked(i == index);
    for (int i = 0; i < 5; ++i) {
        QPushButton* button = m_speedB[static_cast<std::size_t>(i)];
        if (i == index - 1) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::Button, kHighlight);
            button->setPalette(palette);
        } else {
            button->setPalette(QPalette());
        }
    }
    if (m_simulator) updateTimeline();  // the readout's seconds follow the speed
    m_speedStatus->setText(QStringLiteral("Speed: %1").arg(qs(speedName(index))));
}

void MainWindow::diagnose(const Diagnostic& d) {
    const QString title = d.kind == DiagnosticKind::ErrorDetails ? QStringLiteral("Error Details")
                                                                 : qs(kProgramTitle);
    m_dialogs->message(QString::fromStdString(d.text), title, MessageIcon::None);
    // The last word on a failing entry: it is selected and marked where it is.
    if (d.kind != DiagnosticKind::Message) selectEntry(scriptText(), d.entry);
}

}  // namespace velistrad
