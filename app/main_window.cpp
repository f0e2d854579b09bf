#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/button_pictures.h"
#include "app/dialog_titles.h"
#include "app/dialogs.h"
#include "app/editor_assist.h"
#include "app/export_actions.h"
#include "app/focus_ring.h"
#include "app/follow_officer.h"
#include "app/help_texts.h"
#include "app/my_simulations.h"
#include "app/plan_view.h"
#include "app/qt_dialogs.h"
#include "app/qt_platform.h"
#include "app/script_editor.h"
#include "app/script_files.h"
#include "app/timeline_panel.h"
#include "simulations/catalogue.h"

namespace velistrad {

namespace {

const QColor kHighlight(0x80, 0xFF, 0x80);

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

MainWindow::MainWindow(const MainWindowSetup& setup) {
    Platform& p = m_platform;
    p.dialogs = setup.dialogs;
    if (!p.dialogs) {
        p.ownDialogs = std::make_unique<QtDialogs>(this);
        p.dialogs = p.ownDialogs.get();
    }
    p.clock = setup.clock;
    if (!p.clock) {
        p.ownClock = std::make_unique<QtClock>();
        p.clock = p.ownClock.get();
    }
    p.pump = setup.pump;
    if (!p.pump) {
        p.ownPump = std::make_unique<QtEventPump>(*p.clock);
        p.pump = p.ownPump.get();
    }

    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(qs(kProgramTitle));
    // Every window of the program carries its icon, the Programming
    // Reference and the dialogs too; and every control shows its focus.
    QApplication::setWindowIcon(programIcon());
    setWindowIcon(programIcon());
    FocusRing::followFocus();
    keepDialogTitlesWhole();
    m_timeline = new TimelinePanel(*this, *p.clock);
    m_assist = new EditorAssist(*this);
    m_scriptFiles = new ScriptFiles(*this);
    m_mySimulations =
        new MySimulations(*this, setup.customFile, [this] { return m_scriptFiles->leave(); });
    // A file's script is not the simulation loaded last: its name is not offered.
    connect(m_scriptFiles, &ScriptFiles::opened, m_mySimulations, &MySimulations::forgetCurrent);
    m_follow = new FollowOfficer(*this, *m_timeline, *m_assist);
    m_export = new ExportActions(*this, *m_follow, *m_scriptFiles, *m_mySimulations);
    connect(m_timeline, &TimelinePanel::changed, m_follow, &FollowOfficer::refresh);
    buildControls();  // the plan widget creates the label font
    buildMenus();
    resize(sizeHint());  // Qt would open it at most two thirds of the screen high
    speedChanged(3);
    m_simulator =
        std::make_unique<Simulator>(m_room, static_cast<DiagnosticSink&>(*this),
                                    static_cast<RunHost&>(*this), *m_plan, *p.clock, *p.pump);

    // Start-up: custom simulations, the placeholder, then the run state
    // (the Simulator starts at Medium, paused, not busy).
    m_mySimulations->loadList();
    m_editor->setPlainText(qs(kPlaceholderText));
    m_kioskMode = false;
}

MainWindow::~MainWindow() {
    // Nothing may play on into a half-destroyed window.
    m_simulator->abandon();
    m_platform.dialogs->closeProgrammingReference();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Only the user going into the editor counts: the focus coming back with
    // the window or after a menu must not clear a placeholder nobody touched.
    if (watched == m_editor->viewport() && m_scriptFiles->filterDrop(event)) return true;
    bool userEntered = false;
    if (watched == m_editor && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        userEntered = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
    } else if (watched == m_editor->viewport() && event->type() == QEvent::MouseButtonPress) {
        userEntered = true;
    }
    if (userEntered) clearPlaceholder();
    const bool focusMoved = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (watched == m_editor && focusMoved) {
        // Handled first, so that the preview sees the focus as it now is.
        const bool result = QMainWindow::eventFilter(watched, event);
        QMetaObject::invokeMethod(m_assist, &EditorAssist::updateRoutePreview,
                                  Qt::QueuedConnection);
        return result;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::clearPlaceholder() {
    // Only the untouched placeholder is cleared, so a script never is.
    if (m_editor->toPlainText() == qs(kPlaceholderText)) m_editor->clear();
}

void MainWindow::toggleHideCode() {
    // Visibility and check mark are flipped together, never set apart.
    m_editor->setVisible(m_editor->isHidden());
    m_controls.hideCode->setChecked(m_editor->isHidden());
}

void MainWindow::toggleKioskMode() {
    m_kioskMode = !m_kioskMode;
    showKioskMode();
    // Turning it off: the loop further down the call chain stops at its next check.
    if (!m_kioskMode) return;
    for (;;) {
        for (const char* item : kKioskItems) {
            loadCatalogueEntry(catalogueIndex(item));
            showKioskMode();  // leaving a script file gives the title back
            m_simulator->playOrPause();
            if (!m_kioskMode || m_simulator->abandoned()) return;
        }
    }
}

// The check mark, the title and the status bar say that Kiosk Mode is on.
void MainWindow::showKioskMode() {
    static const QString suffix = QStringLiteral(" — Kiosk Mode");
    m_controls.kiosk->setChecked(m_kioskMode);
    QString title = windowTitle();
    if (title.endsWith(suffix)) title.chop(suffix.size());
    setWindowTitle(m_kioskMode ? title + suffix : title);
    if (!m_controls.kioskStatus) {
        m_controls.kioskStatus = new QLabel(QStringLiteral("Kiosk Mode"), statusBar());
        m_controls.kioskStatus->setToolTip(
            QStringLiteral("Choose File > Kiosk Mode again to stop after this movement"));
        m_controls.kioskStatus->setObjectName(QStringLiteral("KioskStatus"));
        QFont bold = m_controls.kioskStatus->font();
        bold.setBold(true);
        m_controls.kioskStatus->setFont(bold);
        statusBar()->addPermanentWidget(m_controls.kioskStatus);
    }
    m_controls.kioskStatus->setVisible(m_kioskMode);
}

void MainWindow::quit() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_scriptFiles->saveChangesFirst()) {
        event->ignore();
        return;
    }
    // Every nested wait returns at once and no run starts again; the runs
    // unwind back to the outermost event loop, which then ends.
    m_simulator->abandon();
    m_kioskMode = false;
    m_platform.dialogs->closeProgrammingReference();
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::loadCatalogueEntry(std::size_t entry) {
    if (!m_scriptFiles->leave()) return;
    const auto& entries = catalogue();
    const CatalogueEntry& chosen = entries[entry];
    const CatalogueEntry& shown = chosen.sharesScriptOf > 0
                                      ? entries[static_cast<std::size_t>(chosen.sharesScriptOf - 1)]
                                      : chosen;
    m_simulator->reset();
    setScriptText(shown.script);
    m_mySimulations->forgetCurrent();
}

void MainWindow::showAbout() {
    m_platform.dialogs->helpMessage(aboutText(), QStringLiteral("About"));
}

void MainWindow::showHowTo() {
    m_platform.dialogs->helpMessage(howToUseText(), QStringLiteral("How To Use"));
}

void MainWindow::showBasics() {
    m_platform.dialogs->helpMessage(basicsText(), QStringLiteral("Velistrad Basics"));
}

void MainWindow::showProgrammingReference() {
    m_platform.dialogs->showProgrammingReference(frameGeometry());
}

std::string MainWindow::scriptText() {
    return m_editor->text().toStdString();
}

void MainWindow::setScriptText(const std::string& text) {
    m_editor->setText(QString::fromStdString(text));
}

void MainWindow::picturesExchanged() {
    // One after the other, as a three-cup shuffle: Simulate and Pause trade pictures.
    m_controls.swap->setIcon(m_controls.simulate->icon());
    m_controls.simulate->setIcon(m_controls.pause->icon());
    m_controls.pause->setIcon(m_controls.swap->icon());
    // A run edited while it played is over: what it showed goes with it.
    if (!m_simulator->busy) m_simulator->discardOutdatedTimeline();
    m_timeline->update();         // a run was held, resumed or ended
    if (!m_simulator->paused) {   // Play pressed: a run starts or goes on
        m_assist->holdPreview();  // the route preview gives way to the run
        return;
    }
    if (!m_simulator->busy) m_assist->checkNow();  // the officers stand elsewhere now
    m_assist->updateRoutePreview();                // held or ended: the preview may show
}

void MainWindow::speedChanged(int index) {
    for (int i = 1; i <= 5; ++i)
        m_controls.speedItems[static_cast<std::size_t>(i)]->setChecked(i == index);
    for (int i = 0; i < 5; ++i) {
        QPushButton* button = m_controls.speedButtons[static_cast<std::size_t>(i)];
        if (i == index - 1) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::Button, kHighlight);
            button->setPalette(palette);
        } else {
            button->setPalette(QPalette());
        }
    }
    if (m_simulator) m_timeline->update();  // the readout's seconds follow the speed
    m_assist->showSpeed(index);
}

void MainWindow::diagnose(const Diagnostic& d) {
    const QString title = d.kind == DiagnosticKind::ErrorDetails ? QStringLiteral("Error Details")
                                                                 : qs(kProgramTitle);
    // Every box of a script's problems is an error, and shows as one.
    m_platform.dialogs->message(QString::fromStdString(d.text), title, MessageIcon::Exclamation);
    // The last word on a failing entry: it is selected and marked where it is.
    if (d.kind != DiagnosticKind::Message) m_assist->selectEntry(scriptText(), d.entry);
}

void MainWindow::frameShown() {
    m_timeline->frameShown();
}

bool MainWindow::openScriptFile(const QString& path) {
    return m_scriptFiles->openFile(path);
}

const QString& MainWindow::scriptFile() const {
    return m_scriptFiles->file();
}

void MainWindow::checkScriptNow() {
    m_assist->checkNow();
}

const CheckResult& MainWindow::lastCheck() const {
    return m_assist->lastCheck();
}

void MainWindow::selectProblem(std::size_t index) {
    m_assist->selectProblem(index);
}

const std::vector<CustomSimulation>& MainWindow::customSimulations() const {
    return m_mySimulations->simulations();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_scriptFiles->filterDrop(event)) QMainWindow::dragEnterEvent(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!m_scriptFiles->filterDrop(event)) QMainWindow::dropEvent(event);
}

}  // namespace velistrad
