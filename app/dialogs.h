// Every box the window shows goes through this interface, so that tests can
// answer questions from a script and read what would have been shown.
//
// Modal calls (message, question, input) run a nested event loop in the Qt
// version: when one is opened during playback the animation halts until the
// box is closed, because playback waits inside that same event handling.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include "simulations/dialogs.h"

namespace velistrad {

class WindowDialogs : public Dialogs {
public:
    using Dialogs::message;
    // The window's own texts are QStrings already.
    void message(const QString& text, const QString& title, MessageIcon icon) {
        message(text.toStdString(), title.toStdString(), icon);
    }
    // A help text, which a box may show with its paragraphs flowing to the
    // box's width; by default as `message` shows it, without an icon.
    virtual void helpMessage(const QString& text, const QString& title) {
        message(text, title, MessageIcon::None);
    }
    // Shows the Programming Reference without blocking. A new window is placed
    // with its frame's top left at the top right of `besideFrame` (the main
    // window's frame); a window already open is only raised.
    virtual void showProgrammingReference(const QRect& besideFrame) = 0;
    virtual void closeProgrammingReference() = 0;

    // File choosers and the question before unsaved changes are lost. The
    // defaults answer as if cancelled: an empty name or list, Cancel.
    // `filter` is in QFileDialog's form.
    enum class SaveChoice { Save, Discard, Cancel };
    virtual QStringList openFileNames(const QString& /*title*/, const QString& /*filter*/,
                                      bool /*several*/) {
        return {};
    }
    virtual QString saveFileName(const QString& /*title*/, const QString& /*suggested*/,
                                 const QString& /*filter*/) {
        return {};
    }
    virtual SaveChoice saveChanges(const QString& /*text*/, const QString& /*title*/) {
        return SaveChoice::Cancel;
    }
};

}  // namespace velistrad
