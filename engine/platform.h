// What playback needs from the outside world, kept small so that the window
// implements it with Qt and tests implement it with fakes.
//
// Coordinates are twips on the plan; times are seconds on a monotonic clock.
#pragma once

#include <string>
#include <string_view>

namespace velistrad {

// One officer drawn away from his station: his index in the officer table,
// the label written for him and his position (the label's upper left corner).
struct OfficerMarker {
    int officer;
    std::string_view label;
    float x;
    float y;
};

// The plan the officers are drawn on. clear() removes the markers drawn (the
// plan stays); present() shows what was drawn since.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual void clear() = 0;
    virtual void drawOfficer(const OfficerMarker& marker) = 0;
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

// What a run tells the window: the Play button's pictures were rotated, the
// speed changed. The editor's text is read and written through it (Reset
// puts its own script there for the length of its run).
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual std::string scriptText() = 0;
    virtual void setScriptText(const std::string& text) = 0;
    virtual void picturesExchanged() = 0;
    virtual void speedChanged(int /*index*/) {}  // index 1..5 of the speed table
    // Another frame of the kept timeline is shown (played, or sought).
    virtual void frameShown() {}
};

}  // namespace velistrad
