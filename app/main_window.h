// `frmMain`, the main window: the plan `Figure1`, the script editor
// `Directions`, the Play and speed buttons, and the File, Speed, Simulations
// and Help menus. It is the engine's RunHost and DiagnosticSink, so the
// Simulator reads and writes the editor and shows its messages through this
// window. The timeline panel, script files, My Simulations, the editor's
// assistance, following an officer and the exports are parts that own their
// state and reach the window through WindowContext; the window wires them.
//
// Re-entrancy: playback waits inside event handling, so every handler here
// may run nested inside a playing run (Reset, the catalogue, Kiosk Mode, Save,
// Quit). Closing the window abandons the Simulator, which makes every nested
// wait return at once, and ends the application's event loops.
//
// docs/names.md maps the form names of widgets and menu items (their Qt
// object names) to the methods here.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QString>

#include "app/window_context.h"
#include "engine/platform.h"
#include "engine/script_check.h"
#include "engine/simulator.h"
#include "model/chapter_room.h"
#include "simulations/custom_simulations.h"

class QAction;
class QLabel;
class QMenu;
class QDragEnterEvent;
class QDropEvent;
class QPushButton;
class QSplitter;

namespace velistrad {

class EditorAssist;
class ExportActions;
class FollowOfficer;
class MySimulations;
class PlanView;
class ScriptEdit;
class ScriptFiles;
class TimelinePanel;
class WindowDialogs;

struct MainWindowSetup {
    QString customFile;                // path of custom.sim
    WindowDialogs* dialogs = nullptr;  // null: message boxes of Qt
    Clock* clock = nullptr;            // null: the monotonic clock
    EventPump* pump = nullptr;         // null: Qt's event loop
};

class MainWindow : public QMainWindow,
                   private RunHost,
                   private DiagnosticSink,
                   private WindowContext {
    Q_OBJECT

public:
    explicit MainWindow(const MainWindowSetup& setup);
    ~MainWindow() override;

    // Menu and control handlers.
    void clearPlaceholder();  // a click in the editor
    void toggleHideCode();
    void toggleKioskMode();
    void quit();
    void loadCatalogueEntry(std::size_t entry);  // 0-based index into catalogue()
    void showAbout();
    void showHowTo();
    void showBasics();
    void showProgrammingReference();

    // Script files: see ScriptFiles.
    bool openScriptFile(const QString& path);
    const QString& scriptFile() const;

    // The editor's help: see EditorAssist.
    void checkScriptNow();
    const CheckResult& lastCheck() const;
    void selectProblem(std::size_t index);  // of lastCheck().problems
    // Where the screen's free area cannot hold the window at its natural
    // size, a smaller one, so that menus, editor, Play and the speed
    // buttons are all on the screen.
    void fitToScreen(const QRect& available);

    Simulator& simulator() override { return *m_simulator; }
    FollowOfficer& following() const { return *m_follow; }
    PlanView* plan() const { return m_plan; }
    bool inKioskMode() const { return m_kioskMode; }
    const std::vector<CustomSimulation>& customSimulations() const;
    MySimulations& mySimulations() { return *m_mySimulations; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // RunHost and WindowContext
    std::string scriptText() override;
    void setScriptText(const std::string& text) override;
    void picturesExchanged() override;
    void speedChanged(int index) override;
    void frameShown() override;
    // DiagnosticSink
    void diagnose(const Diagnostic& d) override;
    // WindowContext
    QMainWindow& mainWindow() override { return *this; }
    const ChapterRoom& room() const override { return m_room; }
    PlanView& planView() override { return *m_plan; }
    ScriptEdit& scriptEditor() override { return *m_editor; }
    WindowDialogs& dialogs() override { return *m_platform.dialogs; }

    void buildControls();
    void buildMenus();
    void buildSimulationsMenu(QMenu* menu);
    void fitSplitter();
    void showKioskMode();
    void keepInOneColumn(QMenu* officerMenu);

    // The dialogs, clock and event pump in use: the setup's, or the window's own.
    struct Platform {
        std::unique_ptr<WindowDialogs> ownDialogs;
        std::unique_ptr<Clock> ownClock;
        std::unique_ptr<EventPump> ownPump;
        WindowDialogs* dialogs = nullptr;
        Clock* clock = nullptr;
        EventPump* pump = nullptr;
    };
    // Play, its two picture holders, the speed buttons and items.
    struct Controls {
        QPushButton* simulate = nullptr;
        QPushButton* pause = nullptr;
        QPushButton* swap = nullptr;
        std::array<QPushButton*, 5> speedButtons{};
        std::array<QAction*, 6> speedItems{};  // 1..5
        QAction* hideCode = nullptr;
        QAction* kiosk = nullptr;
        QLabel* kioskStatus = nullptr;
    };

    ChapterRoom m_room;
    Platform m_platform;
    std::unique_ptr<Simulator> m_simulator;
    bool m_kioskMode = false;
    PlanView* m_plan = nullptr;
    ScriptEdit* m_editor = nullptr;
    QSplitter* m_splitter = nullptr;
    Controls m_controls;
    int m_editorWidth = 0;  // the editor column's, natural or as the user last set it

    TimelinePanel* m_timeline = nullptr;
    EditorAssist* m_assist = nullptr;
    ScriptFiles* m_scriptFiles = nullptr;
    MySimulations* m_mySimulations = nullptr;
    FollowOfficer* m_follow = nullptr;
    ExportActions* m_export = nullptr;
};

}  // namespace velistrad
