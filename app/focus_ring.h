// A focus ring that can be seen on every control: the styles' own focus
// mark is a one-pixel line that vanishes on the green speed button. A ring
// three pixels wide in a dark blue that stands out on grey, green and white
// is laid over the edge of the control with the keyboard focus, so that no
// control's own look changes. As in a browser, focus that a mouse click gave
// shows no ring; Tab, a shortcut or the program moving it does.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace velistrad {

class FocusRing : public QWidget {
    Q_OBJECT

public:
    static inline const QColor kColour{0x10, 0x3C, 0x9C};
    static constexpr int kWidth = 3;  // one pixel outside the control, two on it

    // Follows the focus of the whole application from now on; once is enough.
    static void followFocus();
    // The ring now shown, or null: for tests.
    static FocusRing* shown();

    class Follower;  // the application's event filter that moves the ring

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    explicit FocusRing(QWidget* parent);
};

}  // namespace velistrad
