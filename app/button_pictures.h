// The 16 x 16 pictures of the Play button, drawn in code: dark blue on a
// transparent ground, so the button face shows through. Each icon carries
// sizes for device pixel ratios up to 3 so it stays sharp.
#pragma once

#include <QIcon>

namespace velistrad {

QIcon playPicture();   // a triangle pointing right
QIcon pausePicture();  // two upright bars
QIcon programIcon();   // the window icon

}  // namespace velistrad
