// Play, pause, Reset, the speed controls and playback, driven headlessly: a
// manual clock, an event pump that fires scripted clicks at chosen times
// (re-entering the simulator inside its waits, as the window does) and a
// surface that records every drawing.
#include "engine/simulator.h"

#include "engine/null_platform.h"
#include "tests/engine/scripted_clock.h"
#include "tests/model/case_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace velistrad {
namespace {

using ::testing::ElementsAre;

constexpr double kTick = 1e-9;  // tolerance for sums of frame periods

// MC walks from his station to R: 107 frames, 105 of them position frames.
constexpr const char* kWalk = "MC,XZR,Now";
constexpr std::size_t kWalkDrawings = 105;

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
    }
    void speedChanged(int index) override { reportedSpeed = index; }
    bool showsPausePicture() const { return exchanges % 2 == 1; }

    void play(const std::string& text) {
        script = text;
        sim.Simulate_Click();
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
    int exchanges = 0;
    int reportedSpeed = 0;
    ChapterRoom room;
    Simulator sim{room, *this, *this, *this, *this, *this};
};

class SimulatorTest : public ::testing::Test, public World {};

// Play pressed during playback holds the run before its next frame and
// resumes it; a speed pressed applies from the next wait; an abandoned run
// unwinds promptly and starts no new run.
TEST(Simulator, PressesDuringPlayback) {
    FOR_EACH_CASE(c, "simulator_runs.txt", 6) {
        World w;
        bool pausePictureWhilePlaying = false, heldAfterPress = false;
        const double a = c.f(2), b = c.f(3);
        if (c[0] == "hold") {
            w.at(a, [&] {
                pausePictureWhilePlaying = w.showsPausePicture();
                w.sim.Simulate_Click();
                heldAfterPress = w.sim.paused && w.sim.busy && !w.showsPausePicture();
            });
            w.at(b, [&] { w.sim.Simulate_Click(); });
        }
        if (c[0] == "speed") w.at(0.11, [&] { w.sim.SpeedB_Click(static_cast<int>(a) - 1); });
        if (c[0] == "abandon" && a > 0) w.at(a, [&] { w.sim.Simulate_Click(); });
        if (c[0] == "abandon") w.at(b, [&] { w.sim.abandon(); });
        w.play(c[1]);
        EXPECT_FALSE(w.sim.busy);
        if (c[0] == "hold") {
            EXPECT_TRUE(pausePictureWhilePlaying && heldAfterPress);
            ASSERT_EQ(w.drawings.size(), kWalkDrawings);  // ran to the end
            const double drawn = w.drawings.at(w.drawingsUntil(a)).at;
            EXPECT_TRUE(drawn > c.f(4) - kTick && drawn < c.f(5) + kTick) << drawn;
            EXPECT_EQ(w.exchanges, 4);
            EXPECT_TRUE(w.sim.paused);
        } else if (c[0] == "speed") {
            EXPECT_EQ(w.reportedSpeed, static_cast<int>(a));
            const std::size_t next = w.drawingsUntil(0.11);
            ASSERT_LT(next + 1, w.drawings.size());
            // The wait under way when the click came keeps its Medium length.
            EXPECT_NEAR(w.drawings[next].at, 0.125, kTick);
            EXPECT_NEAR(w.drawings[next + 1].at - w.drawings[next].at, b, kTick);
        } else {
            EXPECT_LT(w.t, c.f(4) + kTick);
            const std::size_t drawn = w.drawings.size();
            EXPECT_EQ(w.drawingsUntil(b), drawn);
            const int exchanged = w.exchanges;
            w.play(kWalk);
            EXPECT_EQ(w.exchanges, exchanged);
            EXPECT_EQ(w.drawings.size(), drawn);
        }
    }
}

TEST_F(SimulatorTest, FailingSecondEntryPlaysNothingAndTheNextPressPlaysAfresh) {
    play("MC,XZR,Now, Foo,XZR,Now");
    EXPECT_THAT(log, ElementsAre("message: Unknown officer: FOO",
                                 "error: Error occurred while processing: FOO, XZR, NOW"));
    EXPECT_TRUE(drawings.empty() && !sim.busy && sim.paused && exchanges == 2);

    play("All,-AT-X-,Now, MC,XZR,Now");
    ASSERT_EQ(drawings.size(), kWalkDrawings);
    EXPECT_NEAR(drawings[1].at - drawings[0].at, 0.025, kTick);
    EXPECT_EQ(drawings.back().markers, "MC#9@3600,7875 ");
    EXPECT_TRUE(!sim.busy && sim.paused && exchanges == 4);
}

// A million bad steps would be a million boxes: a Play shows a handful, then
// how many more there were, then the error details.
TEST_F(SimulatorTest, AFloodOfMessagesShowsAHandfulAndACount) {
    play("Mar," + std::string(30000, '-') + ",Now");
    ASSERT_EQ(log.size(), Simulator::kShownMessages + 2);
    EXPECT_EQ(log[Simulator::kShownMessages], "message: 9,995 more messages were not shown.");
    EXPECT_EQ(log.back().substr(0, 40), "error: Error occurred while processing: ");
    EXPECT_FALSE(sim.busy);
}

TEST_F(SimulatorTest, ResetDuringPlaybackHoldsTheRunAndShowsEveryoneAtStations) {
    std::size_t drawnAfterReset = 0;
    at(0.2, [&] {
        sim.Do_Reset_Click();
        drawnAfterReset = drawings.size();
        EXPECT_EQ(drawings.back().markers, "");  // everyone at his station
        EXPECT_TRUE(script == kWalk && !sim.busy && sim.paused);
    });
    at(5.0, [&] {
        EXPECT_EQ(drawings.size(), drawnAfterReset);  // the held run stays held
        sim.abandon();
    });
    play(kWalk);
    EXPECT_FALSE(showsPausePicture());
    EXPECT_NEAR(t, 5.0, 0.1);
}

TEST_F(SimulatorTest, LightningStillHandlesEventsInEveryWait) {
    sim.Speed_Click(5);
    at(0.0, [&] { sim.Simulate_Click(); });  // handled in the very first wait
    at(0.5, [&] { sim.Simulate_Click(); });
    play(kWalk);
    EXPECT_GE(passes, 107);
    ASSERT_EQ(drawings.size(), kWalkDrawings);
    EXPECT_GE(drawings.front().at, 0.5);
    EXPECT_LE(drawings.back().at, 0.6);
}

TEST_F(SimulatorTest, UnsyncFramesOnADelayFrameKeepItsWaitAndDraw) {
    // Frame 2 is "1.0,9,3600,9860": MC's second step joined onto the delay,
    // whose wait does not follow the speed.
    sim.Speed_Click(1);
    play("MC,R,Unsync, All,Delay,1.0");
    ASSERT_GE(drawings.size(), 3u);
    EXPECT_EQ(drawings[1].markers, "MC#9@3600,9860 ");
    EXPECT_NEAR(drawings[2].at - drawings[1].at, 1.0, kTick);
}

// Every officer away from his station is drawn, in index order; one back at
// his station is not.
TEST_F(SimulatorTest, RunsimDrawsEveryOfficerAwayFromHisStation) {
    room.officer(21).curX = 1;
    room.officer(0).curY = 4;
    room.officer(9).curX = 3600.5f;
    sim.runsim();
    room.officer(9).curX = 3600;
    sim.runsim();
    ASSERT_EQ(drawings.size(), 2u);
    EXPECT_EQ(drawings[0].markers, "Mar#0@1800,4 MC#9@3600.5,9900 SD#21@1," +
                                       std::to_string(room.officer(21).stationY) + " ");
    EXPECT_EQ(drawings[1].markers,
              "Mar#0@1800,4 SD#21@1," + std::to_string(room.officer(21).stationY) + " ");
}

// Moving through a kept timeline: held mid-run and moved back, a run plays
// on from there and ends where an uninterrupted run ends; after a run, Play
// plays on from a frame moved back to, or compiles afresh once the text changed.
// (Held and moved, a run playing on in the window is tested with the timeline.)
TEST_F(SimulatorTest, SeekingAfterARunPlaysOnFromThere) {
    play(kWalk);
    const std::string uninterrupted = drawings.back().markers;
    const std::size_t frames = sim.played()->size();
    sim.seekTo(10);  // three frames standing at his station, then six steps of 20
    EXPECT_EQ(drawings.back().markers, "MC#9@3600,9780 ");
    play(kWalk);  // the text is unchanged: it plays on from frame 10
    EXPECT_EQ(drawings.back().markers, uninterrupted);
    EXPECT_EQ(sim.playedFrames(), frames);

    sim.seekTo(frames - 20);
    const std::size_t before = drawings.size();
    play(kWalk);
    EXPECT_EQ(drawings.size() - before, 19u);  // frames 87 to 105 move MC, 106 is empty
    sim.seekTo(0);        // everyone at his station, as the next run compiles from there
    play("MC,XZR,Now ");  // changed text: compiled and played from the stations
    EXPECT_EQ(drawings.size() - before, 19u + 1u + kWalkDrawings);
    const auto ended = sim.played();
    play("MC,XZR,Now ");  // a run played to its end is not played on: it compiles afresh
    EXPECT_NE(sim.played(), ended);
}

// Frame deadlines follow each other, so time spent drawing does not add up.
TEST_F(SimulatorTest, SlowDrawingDoesNotStretchTheRun) {
    drawCost = 0.01;
    play(kWalk);
    ASSERT_EQ(drawings.size(), kWalkDrawings);
    EXPECT_NEAR(t, 107 * 0.025, 0.011);
}

}  // namespace
}  // namespace velistrad
