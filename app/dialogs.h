// Every box the program shows goes through this interface, so that tests can
// answer questions from a script and read what would have been shown.
//
// Modal calls (message, question, input) run a nested event loop in the Qt
// version: when one is opened during playback the animation halts until the
// box is closed, because playback waits inside that same event handling.
#pragma once

#include <QRect>
#include <QString>

namespace velistrad {

enum class MessageIcon { None, Exclamation };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An OK-only message box.
    virtual void message(const QString& text, const QString& title, MessageIcon icon) = 0;
    // Yes/No, no icon; true for Yes.
    virtual bool question(const QString& text, const QString& title) = 0;
    // An input box with an empty default answer; cancelling gives "".
    virtual QString input(const QString& prompt, const QString& title) = 0;
    // Shows the Programming Reference without blocking. A new window is placed
    // with its frame's top left at the top right of `besideFrame` (the main
    // window's frame); a window already open is only raised.
    virtual void showProgrammingReference(const QRect& besideFrame) = 0;
    virtual void closeProgrammingReference() = 0;
};

}  // namespace velistrad
