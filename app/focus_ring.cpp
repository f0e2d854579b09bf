#include "app/focus_ring.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>
#include <QSplitter>

namespace velistrad {

// Watches focus changes for the application and moves the one ring. The
// ring is a child of the control's parent (or of the splitter's parent),
// laid over the control, so it moves with that parent; the control's own
// moves and resizes are followed here.
class FocusRing::Follower : public QObject {
public:
    using QObject::QObject;
    QPointer<FocusRing> ring;
    QPointer<QWidget> target;
    bool byMouse = false;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            // Coming back from a menu or another window keeps what it was.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                byMouse = reason == Qt::MouseFocusReason;
            follow(static_cast<QWidget*>(watched));
        } else if (watched == target) {
            switch (event->type()) {
                case QEvent::Move:
                case QEvent::Resize:
                case QEvent::Show:
                case QEvent::Hide:
                case QEvent::FocusOut:
                    place();
                    break;
                default:
                    break;
            }
        }
        return false;
    }

    void follow(QWidget* widget) {
        target = widget;
        QWidget* parent = widget->isWindow() ? nullptr : widget->parentWidget();
        // A splitter takes every child widget for a pane of its own.
        while (qobject_cast<QSplitter*>(parent) != nullptr) parent = parent->parentWidget();
        if (parent == nullptr) {
            if (ring) ring->hide();
            return;
        }
        if (!ring || ring->parentWidget() != parent) {
            delete ring.data();
            ring = new FocusRing(parent);
        }
        place();
    }

    void place() {
        if (!ring) return;
        const bool visible = target && target->hasFocus() && target->isVisible() && !byMouse;
        if (!visible) {
            ring->hide();
            return;
        }
        const QPoint at = target->mapTo(ring->parentWidget(), QPoint(0, 0));
        ring->setGeometry(QRect(at, target->size()).adjusted(-1, -1, 1, 1));
        ring->raise();
        ring->show();
    }
};

namespace {
FocusRing::Follower* follower = nullptr;
}

FocusRing::FocusRing(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void FocusRing::followFocus() {
    if (follower != nullptr) return;
    follower = new Follower(qApp);
    qApp->installEventFilter(follower);
}

FocusRing* FocusRing::shown() {
    return follower && follower->ring && follower->ring->isVisible() ? follower->ring.data()
                                                                     : nullptr;
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(kColour, kWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    const qreal half = kWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
}

}  // namespace velistrad
