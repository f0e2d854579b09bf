// Dialogs as wide as their titles: a dialog is sized to its contents, and a
// window manager cuts a title longer than the title bar in the middle
// ("Expor…mation"). Every dialog of the application that may grow is made,
// when shown, at least as wide as its title in a bold title-bar font plus
// the room the title bar's buttons take. Message boxes fix their own size:
// QtDialogs widens them.
#pragma once

class QString;
class QWidget;

namespace velistrad {

// The width a window needs for its title bar to show `title` whole.
int titleBarWidth(const QWidget& window, const QString& title);

// From now on, for every dialog of the application; once is enough.
void keepDialogTitlesWhole();

}  // namespace velistrad
