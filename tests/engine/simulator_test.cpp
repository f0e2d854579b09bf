// Play, pause, Reset, the speed controls and playback, driven headlessly: a
// manual clock, an event pump that fires scripted clicks at chosen times
// (re-entering the simulator inside its waits, as the window does) and a
// surface that records every drawing.
#include "engine/simulator.h"

#include "engine/null_platform.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace velistrad {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr double kTick = 1e-9;  // tolerance for sums of frame periods

// MC walks from his station to R: 107 frames, 105 of them position frames.
constexpr const char* kWalk = "MC,XZR,Now";
constexpr std::size_t kWalkDrawings = 105;

struct Drawing {
    double at;
    std::string markers;  // "label#index@x,y " per officer
};

// The fixture is the whole outside world: clock, event pump, window and plan.
class SimulatorTest : public ::testing::Test,
                      public DiagnosticSink,
                      public RunHost,
                      public DrawingSurface,
                      public Clock,
                      public EventPump {
protected:
    void TearDown() override { EXPECT_FALSE(ranAway) << "a run never ended"; }

    void at(double time, std::function<void()> handler) { events.emplace(time, handler); }
    // A wait moves the clock to its deadline or to the next scripted event,
    // whichever is sooner, and fires the events that are due. A run that
    // never ends is abandoned instead of hanging the suite.
    void processEvents(double deadline) override {
        if (++passes > 1'000'000 || t > 1e4) {
            ranAway = true;
            sim.abandon();
            return;
        }
        t = std::max(t, events.empty() ? deadline : std::min(deadline, events.begin()->first));
        while (!events.empty() && events.begin()->first <= t) {
            const std::function<void()> handler = events.begin()->second;
            events.erase(events.begin());
            handler();  // may re-enter the simulator and this pump
        }
    }
    double now() override { return t; }

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

    double t = 0;
    double drawCost = 0;
    long passes = 0;
    bool ranAway = false;
    std::multimap<double, std::function<void()>> events;
    std::ostringstream current;
    std::vector<Drawing> drawings;
    std::string script;
    std::vector<std::string> log;
    int exchanges = 0;
    int reportedSpeed = 0;
    ChapterRoom room;
    Simulator sim{room, *this, *this, *this, *this, *this};
};

// Play pressed during playback holds the run before its next frame; a
// one-second delay frame (0.05 to 1.05) is never cut short by a hold.
struct HoldCase {
    const char* script;
    double pauseAt, resumeAt, drawFrom, drawTo;  // first drawing after the pause
};

class Hold : public SimulatorTest, public ::testing::WithParamInterface<HoldCase> {};

TEST_P(Hold, TakesEffectBeforeTheNextFrameAndResumes) {
    const HoldCase& c = GetParam();
    bool pausePictureWhilePlaying = false;
    bool heldAfterPress = false;
    at(c.pauseAt, [&] {
        pausePictureWhilePlaying = showsPausePicture();
        sim.Simulate_Click();
        heldAfterPress = sim.paused && sim.busy && !showsPausePicture();
    });
    at(c.resumeAt, [&] { sim.Simulate_Click(); });
    play(c.script);
    EXPECT_TRUE(pausePictureWhilePlaying);
    EXPECT_TRUE(heldAfterPress);
    ASSERT_EQ(drawings.size(), kWalkDrawings);  // ran to the end
    const double drawn = drawings.at(drawingsUntil(c.pauseAt)).at;
    EXPECT_TRUE(drawn > c.drawFrom - kTick && drawn < c.drawTo + kTick) << drawn;
    EXPECT_EQ(exchanges, 4);
    EXPECT_FALSE(sim.busy);
    EXPECT_TRUE(sim.paused);
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, Hold,
    ::testing::Values(HoldCase{kWalk, 0.11, 2.0, 2.0, 2.1},
                      HoldCase{"All,Delay,1.0, MC,XZR,Now", 0.5, 0.8, 1.05, 1.05},
                      HoldCase{"All,Delay,1.0, MC,XZR,Now", 0.5, 3.0, 3.0, 3.1},
                      HoldCase{"All,Delay,1.0, MC,XZR,Now", 0.03, 0.5, 1.55, 1.55}));

// Speed items 1..5, pressed as buttons 0..4 while a walk plays.
struct SpeedCase {
    int index;
    double period;
};

class SpeedDuringPlayback : public SimulatorTest,
                            public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedDuringPlayback, AppliesFromTheNextWait) {
    at(0.11, [&] { sim.SpeedB_Click(GetParam().index - 1); });
    play(kWalk);
    EXPECT_EQ(reportedSpeed, GetParam().index);
    const std::size_t next = drawingsUntil(0.11);
    ASSERT_LT(next + 1, drawings.size());
    // The wait under way when the click came keeps its Medium length.
    EXPECT_NEAR(drawings[next].at, 0.125, kTick);
    EXPECT_NEAR(drawings[next + 1].at - drawings[next].at, GetParam().period, kTick);
}

INSTANTIATE_TEST_SUITE_P(Simulator, SpeedDuringPlayback,
                         ::testing::Values(SpeedCase{1, 0.07}, SpeedCase{2, 0.05},
                                           SpeedCase{3, 0.025}, SpeedCase{4, 0.01},
                                           SpeedCase{5, 0}));

TEST_F(SimulatorTest, FailingSecondEntryPlaysNothingAndTheNextPressPlaysAfresh) {
    play("MC,XZR,Now, Foo,XZR,Now");
    EXPECT_THAT(drawings, IsEmpty());
    EXPECT_THAT(log, ElementsAre("message: Unknown officer: FOO",
                                 "error: Error occurred while processing: FOO, XZR, NOW"));
    EXPECT_FALSE(sim.busy);
    EXPECT_TRUE(sim.paused);
    EXPECT_EQ(exchanges, 2);

    play("All,-AT-X-,Now, MC,XZR,Now");
    ASSERT_EQ(drawings.size(), kWalkDrawings);
    EXPECT_NEAR(drawings[1].at - drawings[0].at, 0.025, kTick);
    EXPECT_EQ(drawings.back().markers, "MC#9@3600,7875 ");
    EXPECT_FALSE(sim.busy);
    EXPECT_TRUE(sim.paused);
    EXPECT_EQ(exchanges, 4);
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
        EXPECT_EQ(drawings.back().markers, "");
        EXPECT_EQ(script, kWalk);
        EXPECT_FALSE(sim.busy);
        EXPECT_TRUE(sim.paused);
    });
    at(5.0, [&] {
        EXPECT_EQ(drawings.size(), drawnAfterReset);  // the held run stays held
        sim.abandon();
    });
    play(kWalk);
    EXPECT_FALSE(showsPausePicture());
    EXPECT_NEAR(t, 5.0, 0.1);
}

// Abandoning a playing run (no hold) or a held one.
struct AbandonCase {
    double holdAt, abandonAt, endsBy;
};

class Abandon : public SimulatorTest, public ::testing::WithParamInterface<AbandonCase> {};

TEST_P(Abandon, UnwindsPromptlyAndStartsNoNewRun) {
    if (GetParam().holdAt > 0) at(GetParam().holdAt, [&] { sim.Simulate_Click(); });
    at(GetParam().abandonAt, [&] { sim.abandon(); });
    play(kWalk);
    EXPECT_LT(t, GetParam().endsBy + kTick);
    EXPECT_FALSE(sim.busy);
    const std::size_t drawn = drawings.size();
    EXPECT_EQ(drawingsUntil(GetParam().abandonAt), drawn);

    const int exchanged = exchanges;
    play(kWalk);
    EXPECT_EQ(exchanges, exchanged);
    EXPECT_EQ(drawings.size(), drawn);
}

INSTANTIATE_TEST_SUITE_P(Simulator, Abandon,
                         ::testing::Values(AbandonCase{0, 0.2, 0.225}, AbandonCase{0.2, 1.0, 1.1}));

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

// The timeline stays after the run, until Reset; a run can start at any frame.
TEST_F(SimulatorTest, TheTimelineStaysUntilResetAndPlaysFromAnyFrame) {
    play(kWalk);
    ASSERT_NE(sim.played(), nullptr);
    EXPECT_EQ(sim.playedFrames(), sim.played()->size());
    const auto played = sim.played();
    drawings.clear();
    sim.paused = false;
    sim.runsims(*played, 100);
    ASSERT_EQ(drawings.size(), 6u);  // frames 100..105 move MC, the last is empty
    EXPECT_EQ(drawings.back().markers, "MC#9@3600,7875 ");
    sim.paused = true;  // as every run leaves it
    sim.Do_Reset_Click();
    EXPECT_EQ(sim.played(), nullptr);
}

// Moving through a kept timeline: held mid-run and moved back, a run plays
// on from there and ends where an uninterrupted run ends; after a run, Play
// plays on from a frame moved back to, or compiles afresh once the text changed.
TEST_F(SimulatorTest, SeekingWhileHeldAndAfterARunPlaysOnFromThere) {
    play(kWalk);
    const std::string uninterrupted = drawings.back().markers;
    const std::size_t frames = sim.played()->size();

    drawings.clear();
    at(t + 1.0, [&] {
        sim.Simulate_Click();  // hold
        sim.seekTo(10);
        // Three frames standing at his station, then six steps of 20.
        EXPECT_EQ(drawings.back().markers, "MC#9@3600,9780 ");
        sim.Simulate_Click();  // resume
    });
    sim.seekTo(0);
    play(kWalk);  // the text is unchanged and the timeline stands at 0: it plays on
    EXPECT_EQ(drawings.back().markers, uninterrupted);
    EXPECT_EQ(sim.playedFrames(), frames);

    sim.seekTo(frames - 20);
    const std::size_t before = drawings.size();
    play(kWalk);
    EXPECT_EQ(drawings.size() - before, 19u);  // frames 87 to 105 move MC, 106 is empty
    sim.seekTo(0);        // everyone at his station, as the next run compiles from there
    play("MC,XZR,Now ");  // changed text: compiled and played from the stations
    EXPECT_EQ(drawings.size() - before, 19u + 1u + kWalkDrawings);
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
