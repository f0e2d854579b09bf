// What playback needs from the outside world, kept small so that the window
// implements it with Qt and tests implement it with fakes.
//
// Coordinates are twips on the plan; times are seconds on a monotonic clock.
#pragma once

#include <string>
#include <string_view>

namespace velistrad {

// The plan the officers are drawn on. clear() removes what was drawn (the
// plan picture stays); present() shows the drawing.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual void clear() = 0;
    virtual void circle(float centreX, float centreY, float radius) = 0;
    // Writes text with its upper left corner at (x, y).
    virtual void text(float x, float y, std::string_view text) = 0;
    virtual void present() = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() = 0;  // seconds, never going backwards
};

// Handles window events during playback's waits. processEvents handles what
// is pending, then sleeps until the deadline (a Clock time) or the next event,
// whichever comes first. Handlers it runs may re-enter the Simulator.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents(double deadline) = 0;
};

// What a run tells the window: the Play button's pictures were rotated, an
// entry failed, the speed changed. The editor's text is read and written
// through it (Reset puts its own script there for the length of its run).
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual std::string scriptText() = 0;
    virtual void setScriptText(const std::string& text) = 0;
    virtual void picturesExchanged() = 0;
    virtual void errorDetails(const std::string& text) = 0;
    virtual void speedChanged(int /*index*/) {}  // index 1..5 of the speed table
};

}  // namespace velistrad
