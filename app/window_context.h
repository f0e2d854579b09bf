// What the main window's parts (the timeline panel, script files, My
// Simulations, the editor's assistance, following an officer and the
// exports) may ask of the window: the room, the engine's Simulator, the plan,
// the script editor and the dialogs. Each part owns its own state; none
// reaches into another's or into the window's.
#pragma once

#include <string>

class QMainWindow;

namespace velistrad {

class ChapterRoom;
class PlanView;
class ScriptEdit;
class Simulator;
class WindowDialogs;

inline constexpr const char* kPlaceholderText =
    "Program your own simulations here, or pick one from the Simulations menu...";
inline constexpr const char* kProgramTitle = "Velistrad Simulator";

class WindowContext {
public:
    // The window itself: parent of the parts' menus, panels and dialogs.
    virtual QMainWindow& mainWindow() = 0;
    virtual const ChapterRoom& room() const = 0;
    virtual Simulator& simulator() = 0;
    virtual PlanView& planView() = 0;
    virtual ScriptEdit& scriptEditor() = 0;
    virtual WindowDialogs& dialogs() = 0;
    // The editor's text as the engine reads and writes it.
    virtual std::string scriptText() = 0;
    virtual void setScriptText(const std::string& text) = 0;

protected:
    ~WindowContext() = default;
};

}  // namespace velistrad
