// The editor's help: the live check a moment after each edit, its problems
// in the status bar (a click selects the entry), the entry under the cursor,
// the speed, and the route preview on the plan. The engine does the work
// (engine/script_check.h); this is the glue.
#pragma once

#include <QObject>

#include <cstddef>
#include <string>

#include "engine/script_check.h"

class QLabel;
class QStatusBar;
class QTimer;
class QToolButton;

namespace velistrad {

class WindowContext;

class EditorAssist : public QObject {
    Q_OBJECT

public:
    explicit EditorAssist(WindowContext& window);

    // The status bar's entry, problems and speed, the editor's completions,
    // and the check and preview following the editor.
    void build(QStatusBar* bar);

    // The script is checked a moment after the last edit; checkNow does it at once.
    void checkNow();
    const CheckResult& lastCheck() const { return m_check; }
    void selectProblem(std::size_t index);  // of lastCheck().problems
    // Selects entry `entry` (1-based) of script, the editor's text, from its
    // first character to its Time field's end.
    void selectEntry(const std::string& script, std::size_t entry);

    void showSpeed(int index);  // 1..5
    // Shows or hides the route of the entry being edited, as the editor's
    // focus, the cursor and the run allow.
    void updateRoutePreview();
    // A run plays: the preview gives way to it until it holds or ends.
    void holdPreview();
    // The status bar's width changed: the problem's text is cut to fit.
    void fitProblems();

private:
    void showProblems();
    void elideProblems();
    void updateEntryStatus();

    WindowContext& m_window;
    QTimer* m_checkTimer = nullptr;
    CheckResult m_check;
    std::string m_checkedText;   // the text m_check is about
    unsigned m_checkNumber = 0;  // of the text: an edit or a check moves it on
    bool m_checking = false;     // a long script is being checked on another thread
    bool m_checkAgain = false;   // and another check was asked for meanwhile
    QStatusBar* m_bar = nullptr;
    QLabel* m_entryStatus = nullptr;
    QLabel* m_speedStatus = nullptr;
    QToolButton* m_problems = nullptr;
    std::size_t m_previewEntry = static_cast<std::size_t>(-1);
    std::string m_previewText;
};

}  // namespace velistrad
