// The engine's clock and the event pump of playback's waits, on Qt.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include "engine/platform.h"

namespace velistrad {

class QtClock : public Clock {
public:
    QtClock() { m_timer.start(); }
    double now() override { return static_cast<double>(m_timer.nsecsElapsed()) * 1e-9; }

private:
    QElapsedTimer m_timer;
};

// One pass of event handling: what is pending, or else a sleep until the
// deadline or the next event, whichever comes first; never a busy loop.
class QtEventPump : public EventPump {
public:
    explicit QtEventPump(Clock& clock);
    void processEvents(double deadline) override;

private:
    Clock& m_clock;
    QTimer m_wake;    // for the outermost wait: one per frame of a run
    int m_depth = 0;  // waits begun inside another's event handling
};

}  // namespace velistrad
