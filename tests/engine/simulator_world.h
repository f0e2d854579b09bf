// The whole outside world of a Simulator for tests: a scripted clock and
// event pump, a window that holds the script, and a plan that records every
// drawing.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/simulator.h"
#include "tests/engine/composed.h"
#include "tests/engine/scripted_clock.h"

namespace velistrad {

inline constexpr double kTick = 1e-9;  // tolerance for sums of frame periods

// MC walks from his station to R: 107 frames, 105 of them position frames.
inline constexpr const char* kWalk = "MC,XZR,Now";
inline constexpr std::size_t kWalkDrawings = 105;

struct Drawing {
    double at;
    std::string markers;  // "label#index@x,y " per officer
};

// The fixture is the whole outside world: clock, event pump, window and plan.
struct World : DiagnosticSink, RunHost, DrawingSurface, ScriptedClock {
    World() {
        runaway = [this] { sim.abandon(); };
    }
    ~World() override { EXPECT_FALSE(ranAway) << "a run never ended"; }

    void clear() override { current.str(""); }
    void drawOfficer(const OfficerMarker& m) override {
        current << m.label << '#' << m.officer << '@' << m.x << ',' << m.y << ' ';
    }
    void present() override {
        drawings.push_back({t, current.str()});
        t += drawCost;  // drawing takes time on a real screen
    }

    std::string scriptText() override { return script; }
    void setScriptText(const std::string& text) override { script = text; }
    void picturesExchanged() override { ++exchanges; }
    void diagnose(const Diagnostic& d) override {
        log.push_back((d.kind == DiagnosticKind::ErrorDetails ? "error: " : "message: ") + d.text);
        // Each problem of an entry once, though Play shows it frame after
        // frame; not the count of those held back.
        const std::pair<std::size_t, std::string> box(d.entry, d.text);
        if (d.entry > 0 && std::find(shown.begin(), shown.end(), box) == shown.end())
            shown.push_back(box);
        held |= d.entry == 0;
    }
    void speedChanged(int index) override { reportedSpeed = index; }
    bool showsPausePicture() const { return exchanges % 2 == 1; }

    void play(const std::string& text) {
        script = text;
        sim.playOrPause();
    }
    std::size_t drawingsUntil(double time) const {
        return static_cast<std::size_t>(std::count_if(
            drawings.begin(), drawings.end(), [time](const Drawing& d) { return d.at <= time; }));
    }

    double drawCost = 0;
    std::ostringstream current;
    std::vector<Drawing> drawings;
    std::string script;
    std::vector<std::string> log;
    std::vector<std::pair<std::size_t, std::string>> shown;
    bool held = false;  // more than a handful: Play showed the first ones only
    int exchanges = 0;
    int reportedSpeed = 0;
    ChapterRoom room;
    Simulator sim{room, *this, *this, *this, *this, *this};
};

}  // namespace velistrad
