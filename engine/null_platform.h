// The engine without a window, for fuzzing and benchmarks: nothing is shown,
// nobody clicks. The jumping clock and pump make every wait return at once
// with the clock moved to its deadline, so a delay of 1e308 seconds costs
// nothing.
#pragma once

#include <algorithm>
#include <string>

#include "engine/platform.h"
#include "engine/script_runner.h"

namespace velistrad {

class NullSink : public DiagnosticSink {
public:
    void diagnose(const Diagnostic&) override {}
};

class NullSurface : public DrawingSurface {
public:
    void clear() override {}
    void drawOfficer(const OfficerMarker&) override {}
    void present() override {}
};

class NullHost : public RunHost {
public:
    std::string scriptText() override { return {}; }
    void setScriptText(const std::string&) override {}
    void picturesExchanged() override {}
};

class JumpingClock : public Clock {
public:
    double now() override { return t; }
    double t = 0;
};

class JumpingPump : public EventPump {
public:
    explicit JumpingPump(JumpingClock& clock) : m_clock(clock) {}
    void processEvents(double deadline) override { m_clock.t = std::max(m_clock.t, deadline); }

private:
    JumpingClock& m_clock;
};

}  // namespace velistrad
