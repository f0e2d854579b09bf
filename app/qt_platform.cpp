#include "app/qt_platform.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace velistrad {

void QtEventPump::processEvents(double deadline) {
    const double remaining = deadline - m_clock.now();
    if (!(remaining > 0)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // One pass: it handles what is waiting, or waits for the next event;
    // the timer only wakes it, and an infinite deadline waits for events.
    QTimer wake;  // its own: a wait may begin inside another's event handling
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    if (std::isfinite(remaining)) {
        // Rounded up so the wait never ends early; capped, the caller waits again.
        const double ms = std::min(std::ceil(remaining * 1000.0), 3600.0 * 1000.0);
        wake.start(std::chrono::milliseconds(static_cast<long long>(ms)));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace velistrad
