// The engine's clock and the event pump of playback's waits, on Qt, and how
// the program sends its pictures to the display.
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

// Called before the application object is made: the program sends its
// pictures to an X server through the connection rather than through shared
// memory, unless QT_XCB_NO_MITSHM is already set. A frame of a run repaints
// a few small patches of the plan, forty times a second; through shared
// memory each costs a round trip to the server and a wake of Qt's reader
// thread before the next can be painted.
void setUpDisplayConnection();

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
