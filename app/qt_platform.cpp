#include "app/qt_platform.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>

namespace velistrad {

namespace {

void makeWake(QTimer& timer) {
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
}

}  // namespace

void setUpDisplayConnection() {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");
}

QtEventPump::QtEventPump(Clock& clock) : m_clock(clock) {
    makeWake(m_wake);
}

void QtEventPump::processEvents(double deadline) {
    const double remaining = deadline - m_clock.now();
    if (!(remaining > 0)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    // One pass: it handles what is waiting, or waits for the next event;
    // the timer only wakes it, and an infinite deadline waits for events.
    // A wait begun inside another's event handling needs a timer of its own,
    // or it would move the outer wait's wake.
    std::optional<QTimer> nested;
    QTimer* wake = &m_wake;
    if (m_depth > 0) {
        wake = &nested.emplace();
        makeWake(*wake);
    }
    if (std::isfinite(remaining)) {
        // Rounded up so the wait never ends early; capped, the caller waits again.
        const double ms = std::min(std::ceil(remaining * 1000.0), 3600.0 * 1000.0);
        wake->start(std::chrono::milliseconds(static_cast<long long>(ms)));
    } else {
        wake->stop();
    }
    ++m_depth;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    --m_depth;
}

}  // namespace velistrad
