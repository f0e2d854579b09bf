// The clock and event pump of runs in the tests: each wait jumps the clock to
// its deadline or to the next scripted event, whichever comes first, and runs
// the events due. Runs take no real time, and what a test does happens at
// exact moments of a run. A run that never ends is abandoned through
// `runaway` instead of hanging the suite.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

#include "engine/platform.h"

namespace velistrad {

struct ScriptedClock : Clock, EventPump {
    double now() override { return t; }
    void processEvents(double deadline) override {
        if (eachPass) eachPass();
        if (++passes > 1'000'000 || t > 1e4) {
            ranAway = true;
            if (runaway) runaway();
            return;
        }
        const double next = events.empty() ? deadline : std::min(deadline, events.begin()->first);
        if (std::isfinite(next)) t = std::max(t, next);
        while (!events.empty() && events.begin()->first <= t) {
            const std::function<void()> work = std::move(events.begin()->second);
            events.erase(events.begin());
            work();  // may re-enter the run and this pump
        }
    }
    // Runs work once the clock reads `time` seconds, inside a wait of a run.
    void at(double time, std::function<void()> work) { events.emplace(time, std::move(work)); }

    double t = 0;
    long passes = 0;
    bool ranAway = false;
    std::function<void()> eachPass, runaway;  // called in every wait; on a run that never ends
    std::multimap<double, std::function<void()>> events;
};

}  // namespace velistrad
