// Play, pause, Reset, the speed controls and playback, driven headlessly: a
// scripted clock whose waits fire clicks at chosen times (re-entering the
// simulator, as the window does) and a surface that records every drawing.
#include "engine/simulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>

#include "tests/case_file.h"
#include "tests/engine/composed.h"
#include "tests/engine/scripted_clock.h"
#include "tests/engine/simulator_world.h"

namespace velistrad {
namespace {

class SimulatorTest : public ::testing::Test, public World {};

// Play pressed during playback holds the run before its next frame and
// resumes it; a speed pressed applies from the next wait; an abandoned run
// unwinds promptly and starts no new run.
TEST(Simulator, PressesDuringPlayback) {
    FOR_EACH_CASE(c, "simulator_runs.txt", 7) {
        World w;
        if (!c[6].empty()) w.sim.setSpeed(static_cast<int>(c.n(6)));
        bool pausePictureWhilePlaying = false, heldAfterPress = false;
        const double a = c.f(2), b = c.f(3);
        if (c[0] == "hold") {
            w.at(a, [&] {
                pausePictureWhilePlaying = w.showsPausePicture();
                w.sim.playOrPause();
                heldAfterPress = w.sim.paused && w.sim.busy && !w.showsPausePicture();
            });
            w.at(b, [&] { w.sim.playOrPause(); });
        }
        if (c[0] == "speed") w.at(0.11, [&] { w.sim.setSpeed(static_cast<int>(a)); });
        if (c[0] == "abandon" && a > 0) w.at(a, [&] { w.sim.playOrPause(); });
        if (c[0] == "abandon") w.at(b, [&] { w.sim.abandon(); });
        w.play(c[1]);
        EXPECT_FALSE(w.sim.busy);
        if (c[0] == "hold") {
            EXPECT_TRUE(pausePictureWhilePlaying && heldAfterPress);
            EXPECT_GE(w.passes, 107);                     // events are handled in every wait
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
    EXPECT_EQ(log.size(), 2u);  // the boxes' texts are checked in the window
    EXPECT_TRUE(drawings.empty() && !sim.busy && sim.paused && exchanges == 2);

    play("All,-AT-X-,Now, MC,XZR,Now");
    ASSERT_EQ(drawings.size(), kWalkDrawings);
    EXPECT_EQ(drawings.back().markers, "MC#9@3600,7875 ");
    EXPECT_TRUE(!sim.busy && sim.paused && exchanges == 4);

    // A million bad steps would be a million boxes: a Play shows a handful,
    // then how many more there were, then the error details.
    log.clear();
    play("Mar," + std::string(30000, '-') + ",Now");
    ASSERT_EQ(log.size(), Simulator::kShownMessages + 2);
    EXPECT_EQ(log[Simulator::kShownMessages], "message: 9,995 more messages were not shown.");
    EXPECT_EQ(log.back().substr(0, 40), "error: Error occurred while processing: ");
    EXPECT_FALSE(sim.busy);
}

// A delay's wait does not follow the speed, even with a step joined onto it:
// frame 2 is "1.0,9,3600,9860", MC's second step joined onto the delay.
TEST_F(SimulatorTest, UnsyncFramesOnADelayFrameKeepItsWaitAndDraw) {
    sim.setSpeed(1);
    play("MC,R,Unsync, All,Delay,1.0");
    ASSERT_GE(drawings.size(), 3u);
    EXPECT_EQ(drawings[1].markers, "MC#9@3600,9860 ");
    EXPECT_NEAR(drawings[2].at - drawings[1].at, 1.0, kTick);
}

// Frame deadlines follow each other, so time spent drawing does not add up.
TEST_F(SimulatorTest, SlowDrawingDoesNotStretchTheRun) {
    drawCost = 0.01;
    play(kWalk);
    ASSERT_EQ(drawings.size(), kWalkDrawings);
    EXPECT_NEAR(t, 107 * 0.025, 0.011);
}

// The readout's seconds in all, counted before a run at the period the
// simulator reports, are the seconds the run then takes, at every speed:
// drawing and event handling take time, a delay waits its own seconds, and
// at Lightning the period is what the run before took a frame.
TEST_F(SimulatorTest, TheSecondsShownAreTheSecondsARunTakesAtEverySpeed) {
    const std::string run = "Mar, XZTCEVU, Now, All, Delay, 1.0, MC, XZR, Unsync, Mar, UZX, Now";
    drawCost = 0.0004;
    eachPass = [this] { t += 0.0001; };  // a pass of event handling
    for (int speed = 5; speed >= 1; --speed) {
        SCOPED_TRACE(speed);
        sim.setSpeed(speed);
        play(run);  // at Lightning, measures what a frame takes
        sim.seekTo(0);
        const double total = sim.played()->timeAt(sim.played()->size(), sim.framePeriod());
        const double start = t;
        play(run);
        EXPECT_NEAR(t - start, total, 0.001);
        if (speed == 5) {
            EXPECT_GT(t - start, 1.0 + 0.4);  // not just the delay's second
        }
    }
}

// Edited after it played, a kept timeline is outdated; once no run is busy
// it is discarded, and Play compiles the new script.
TEST_F(SimulatorTest, AnEditedScriptOutdatesTheKeptRun) {
    play(kWalk);
    EXPECT_FALSE(sim.timelineOutdated() || sim.discardOutdatedTimeline());
    script = "SC,XZE,Now";
    EXPECT_TRUE(sim.timelineOutdated());
    sim.busy = true;  // a held run keeps its timeline
    EXPECT_FALSE(sim.discardOutdatedTimeline());
    sim.busy = false;
    EXPECT_TRUE(sim.discardOutdatedTimeline());
    EXPECT_TRUE(sim.played() == nullptr && !sim.timelineOutdated());
}

// Moving through a kept timeline: held mid-run and moved back, a run plays
// on from there and ends where an uninterrupted run ends; after a run, Play
// plays on from a frame moved back to, or compiles afresh once the text changed.
// (Held and moved, a run playing on in the window is tested with the timeline.)
// Only officers away from their stations are drawn, in the officer table's
// order, where they stand to the fraction: labels follow walks exactly.
TEST_F(SimulatorTest, DrawsOfficersAwayFromTheirStationsInTableOrderUnrounded) {
    room.officer(3).curX = 3600.5f;
    room.officer(1).curY = 9045.25f;
    sim.drawOfficersAway();
    EXPECT_EQ(current.str(), "CH#1@2250,9045.25 2P#3@3600.5,2745 ");
    room.officer(3).curX = 990;
    sim.drawOfficersAway();
    EXPECT_EQ(current.str(), "CH#1@2250,9045.25 ");
}

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

// Practice composes a run without playing it and shows it piece by piece; a
// script that fails changes neither the kept run nor where anyone stands.
TEST_F(SimulatorTest, APreparedRunShowsNothingUntilSoughtAndAFailedOneChangesNothing) {
    script = kWalk;
    ASSERT_TRUE(sim.prepare());
    EXPECT_EQ(sim.playedFrames(), 0u);
    EXPECT_TRUE(allAtStations(room));
    EXPECT_TRUE(!sim.busy && sim.paused && exchanges == 0);
    sim.seekTo(10);
    EXPECT_EQ(drawings.back().markers, "MC#9@3600,9780 ");
    const auto prepared = sim.played();
    script = "MC,XZR,Now, Foo,XZR,Now";
    EXPECT_FALSE(sim.prepare());
    EXPECT_EQ(sim.played(), prepared);
    EXPECT_EQ(room.officer(9).curY, 9780.f);
}

}  // namespace
}  // namespace velistrad
