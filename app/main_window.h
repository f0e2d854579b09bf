// `frmMain`, the main window: the plan `Figure1`, the script editor
// `Directions`, the Play and speed buttons, and the File, Speed, Simulations
// and Help menus. It is the engine's RunHost and DiagnosticSink, so the
// Simulator reads and writes the editor and shows its messages through this
// window.
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

#include "app/script_editor.h"
#include "engine/platform.h"
#include "engine/script_check.h"
#include "engine/simulator.h"
#include "model/chapter_room.h"
#include "simulations/custom_simulations.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QBoxLayout;
class QPushButton;
class QSlider;
class QSplitter;
class QPlainTextEdit;
class QTimer;
class QToolButton;

namespace velistrad {

class ExportActions;
class FollowOfficer;
class PlanView;
class WindowDialogs;

inline constexpr const char* kPlaceholderText =
    "Program your own simulations here, or pick one from the Simulations menu...";
inline constexpr const char* kProgramTitle = "Velistrad Simulator";

struct MainWindowSetup {
    QString customFile;                // path of custom.sim
    WindowDialogs* dialogs = nullptr;  // null: message boxes of Qt
    Clock* clock = nullptr;            // null: the monotonic clock
    EventPump* pump = nullptr;         // null: Qt's event loop
};

class MainWindow : public QMainWindow, private RunHost, private DiagnosticSink {
    Q_OBJECT
    // The Officer menu, its panel and the exports (follow_officer.cpp,
    // export_actions.cpp) work on the window's room, editor and timeline.
    friend class FollowOfficer;
    friend class ExportActions;

public:
    explicit MainWindow(const MainWindowSetup& setup);
    ~MainWindow() override;

    // Menu and control handlers, named after their items.
    void clearPlaceholder();
    void toggleHideCode();
    void toggleKioskMode();
    void quit();
    void loadCatalogueEntry(std::size_t entry);  // 0-based index into catalogue()
    void loadMySimulation(int index);            // 1..20
    void saveSimulation();
    void showAbout();
    void showHowTo();
    void showBasics();
    void showProgrammingReference();
    void showSimulationsLocation();

    // Script files (script_files.cpp). Opening resets the simulator first, as
    // choosing a simulation does; a file that cannot be read is reported and
    // changes nothing. The saves return false when nothing was written.
    bool openScriptFile(const QString& path);
    void openScript();
    bool saveScript();
    bool saveScriptAs();
    const QString& scriptFile() const { return m_scriptFile; }

    // Managing My Simulations (custom_simulations.cpp); index is 1..20, as
    // for CustomSim. Each returns whether the list changed.
    void manageSimulations();
    bool renameMySimulation(int index);  // asks for the new name
    bool deleteMySimulation(int index);  // asks first
    bool moveMySimulation(int index, int to);
    bool exportMySimulation(int index);  // asks for the file; true when written
    bool importScriptFiles();            // asks for the files; each is named after its file

    // The editor's help (editor_assist.cpp). The script is checked a moment
    // after the last edit; checkScriptNow does it at once.
    void checkScriptNow();
    const CheckResult& lastCheck() const { return m_check; }
    void selectProblem(std::size_t index);  // of lastCheck().problems
    // Where the screen's free area cannot hold the window at its natural
    // size, a smaller one, so that menus, editor, Play and the speed
    // buttons are all on the screen.
    void fitToScreen(const QRect& available);

    Simulator& simulator() { return *m_simulator; }
    FollowOfficer& following() const { return *m_follow; }
    PlanView* plan() const { return m_plan; }
    bool inKioskMode() const { return m_kioskMode; }
    const std::vector<CustomSimulation>& customSimulations() const {
        return m_custom->simulations();
    }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // RunHost
    std::string scriptText() override;
    void setScriptText(const std::string& text) override;
    void picturesExchanged() override;
    void speedChanged(int index) override;
    void frameShown() override;
    // DiagnosticSink
    void diagnose(const Diagnostic& d) override;

    void buildControls();
    void buildMenus();
    // The timeline slider, its readout and the Playback menu (timeline_controls.cpp).
    void buildTimeline(QWidget* central, QMenu* menu);
    void updateTimeline();
    void showFrame(std::size_t frames);  // holds a playing run first
    void highlightEntries(std::size_t shown);
    void buildEditorAssist();
    void scheduleCheck();
    void showProblems();
    void elideProblems();
    void updateEntryStatus();
    void updateRoutePreview();
    // Selects entry `entry` (1-based) of script, the editor's text, from its
    // first character to its Time field's end.
    void selectEntry(const std::string& script, std::size_t entry);
    void resizeEvent(QResizeEvent* event) override;
    void fitSplitter();

    void buildSimulationsMenu(QMenu* menu);
    void loadMySimulations();
    void showMySimulation(int index);
    void showMySimulations();  // every item, after the list changed

    void buildScriptFileItems(QMenu* file);
    bool filterScriptDrop(QEvent* event);  // the editor takes drops of its own
    bool saveChangesFirst();               // Save/Discard/Cancel; false: stay
    bool leaveScriptFile();                // another script replaces the file's; false: stay
    bool markSaved(const QString& text);   // the open file now holds text
    void showScriptFileState();            // title and modification mark
    void rememberRecent(const QString& path);
    void showRecent();

    ChapterRoom m_room;
    std::unique_ptr<WindowDialogs> m_ownDialogs;
    std::unique_ptr<Clock> m_ownClock;
    std::unique_ptr<EventPump> m_ownPump;
    WindowDialogs* m_dialogs;
    Clock* m_clock;
    EventPump* m_pump;
    std::unique_ptr<Simulator> m_simulator;
    QString m_customFile;
    bool m_kioskMode = false;
    std::unique_ptr<CustomSimulations> m_custom;  // after the dialogs it uses

    PlanView* m_plan = nullptr;
    ScriptEdit* m_editor = nullptr;
    QSplitter* m_splitter = nullptr;
    QBoxLayout* m_planColumn = nullptr;  // the plan, and the timeline under it
    QPushButton* m_simulate = nullptr;
    QPushButton* m_pause = nullptr;
    QPushButton* m_swap = nullptr;
    std::array<QPushButton*, 5> m_speedButtons{};
    std::array<QAction*, 6> m_speedItems{};          // 1..5
    std::array<QAction*, 21> m_mySimulationItems{};  // 1..20
    QAction* m_hideCode = nullptr;
    QSlider* m_timeline = nullptr;
    QLabel* m_readout = nullptr;
    std::vector<QAction*> m_playbackActions;
    bool m_settingSlider = false;  // the slider follows the run: not a user's move
    double m_lastTimelineUpdate = -1;
    QString m_scriptFile;   // the opened script file; empty when none is
    QString m_savedScript;  // its text as last read or written
    QMenu* m_recent = nullptr;

    QTimer* m_checkTimer = nullptr;
    CheckResult m_check;
    std::string m_checkedText;  // the text m_check is about
    QLabel* m_entryStatus = nullptr;
    QLabel* m_speedStatus = nullptr;
    QToolButton* m_problems = nullptr;
    std::size_t m_previewEntry = static_cast<std::size_t>(-1);
    std::string m_previewText;
    bool m_previewHeld = false;
    int m_editorWidth = 98;  // the editor column's, as the user last set it

    FollowOfficer* m_follow = nullptr;
    ExportActions* m_export = nullptr;
};

}  // namespace velistrad
