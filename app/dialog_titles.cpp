#include "app/dialog_titles.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QWidget>

namespace velistrad {

namespace {

// An icon, close, maximise and minimise buttons and the margins between.
constexpr int kTitleBarButtons = 120;

class TitleFitter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Once laid out: some dialogs set their minimum size from their layout.
        if (event->type() != QEvent::Show && event->type() != QEvent::WindowTitleChange)
            return false;
        if (!watched->isWidgetType()) return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow() || window->windowType() != Qt::Dialog) return false;
        const int needed = titleBarWidth(*window, window->windowTitle());
        if (window->width() < needed && window->maximumWidth() >= needed)
            window->resize(needed, window->height());
        return false;
    }
};

bool installed = false;

}  // namespace

int titleBarWidth(const QWidget& window, const QString& title) {
    QFont font = window.font();
    font.setBold(true);  // as most window managers write titles
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarButtons;
}

void keepDialogTitlesWhole() {
    if (installed) return;
    installed = true;
    qApp->installEventFilter(new TitleFitter(qApp));
}

}  // namespace velistrad
