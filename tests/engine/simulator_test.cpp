// Play, pause, Reset, the speed controls and playback, driven headlessly: a
// manual clock, an event pump that fires scripted clicks at chosen times
// (re-entering the simulator inside its waits, as the window does) and a
// surface that records every drawing.
#include "engine/simulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace velistrad {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr double kTick = 1e-9;  // tolerance for sums of frame periods

class FakeClock : public Clock {
public:
    double now() override { return t; }
    double t = 0;
};

// Sleeps by moving the clock to the deadline or to the next scripted event,
// whichever is sooner, and fires the events that are due. A run that never
// ends is abandoned after a bound instead of hanging the suite.
class FakePump : public EventPump {
public:
    explicit FakePump(FakeClock& clock) : m_clock(clock) {}

    void at(double time, std::function<void()> handler) {
        m_events.push_back({time, std::move(handler)});
        std::stable_sort(m_events.begin(), m_events.end(),
                         [](const Event& a, const Event& b) { return a.time < b.time; });
    }

    void processEvents(double deadline) override {
        if (++passes > 1'000'000 || m_clock.t > 1e4) {
            ranAway = true;
            if (onRunaway) onRunaway();
            return;
        }
        const double next =
            m_events.empty() ? std::numeric_limits<double>::infinity() : m_events.front().time;
        m_clock.t = std::max(m_clock.t, std::min(deadline, next));
        while (!m_events.empty() && m_events.front().time <= m_clock.t) {
            const std::function<void()> handler = std::move(m_events.front().handler);
            m_events.erase(m_events.begin());
            handler();  // may re-enter the simulator and this pump
        }
    }

    long passes = 0;
    bool ranAway = false;
    std::function<void()> onRunaway;

private:
    struct Event {
        double time;
        std::function<void()> handler;
    };
    FakeClock& m_clock;
    std::vector<Event> m_events;
};

struct Marker {
    std::string label;
    float x, y, centreX, centreY, radius;
    bool operator==(const Marker&) const = default;
};
void PrintTo(const Marker& m, std::ostream* os) {
    *os << m.label << "@(" << m.x << "," << m.y << ") circle (" << m.centreX << "," << m.centreY
        << ") r" << m.radius;
}

struct Drawing {
    double at;
    std::vector<Marker> markers;
};

class RecordingSurface : public DrawingSurface {
public:
    explicit RecordingSurface(FakeClock& clock) : m_clock(clock) {}
    void clear() override {
        ++clears;
        m_current.clear();
    }
    void circle(float cx, float cy, float r) override {
        m_current.push_back({"", 0, 0, cx, cy, r});
    }
    void text(float x, float y, std::string_view t) override {
        if (m_current.empty() || !m_current.back().label.empty()) m_current.push_back({});
        m_current.back().label = t;
        m_current.back().x = x;
        m_current.back().y = y;
    }
    void present() override { drawings.push_back({m_clock.t, m_current}); }

    int clears = 0;
    std::vector<Drawing> drawings;

private:
    FakeClock& m_clock;
    std::vector<Marker> m_current;
};

class FakeHost : public RunHost {
public:
    explicit FakeHost(std::vector<std::string>& log) : m_log(log) {}
    std::string scriptText() override { return script; }
    void setScriptText(const std::string& text) override {
        script = text;
        textsSet.push_back(text);
    }
    void picturesExchanged() override { ++exchanges; }
    void errorDetails(const std::string& text) override { m_log.push_back("error: " + text); }
    void speedChanged(int index) override { reportedSpeed = index; }

    bool showsPausePicture() const { return exchanges % 2 == 1; }

    std::string script;
    std::vector<std::string> textsSet;
    int exchanges = 0;
    int reportedSpeed = 0;

private:
    std::vector<std::string>& m_log;
};

class LogReporter : public Reporter {
public:
    explicit LogReporter(std::vector<std::string>& log) : m_log(log) {}
    void message(const std::string& text) override { m_log.push_back("message: " + text); }

private:
    std::vector<std::string>& m_log;
};

class SimulatorTest : public ::testing::Test {
protected:
    SimulatorTest() {
        pump.onRunaway = [this] { sim.abandon(); };
    }
    void TearDown() override { EXPECT_FALSE(pump.ranAway) << "a run never ended"; }

    void play(const std::string& script) {
        host.script = script;
        sim.Simulate_Click();
    }
    std::size_t drawingsUntil(double t) const {
        return static_cast<std::size_t>(std::count_if(surface.drawings.begin(),
                                                      surface.drawings.end(),
                                                      [t](const Drawing& d) { return d.at <= t; }));
    }
    const Drawing& firstDrawingAfter(double t) const {
        return surface.drawings.at(drawingsUntil(t));
    }

    std::vector<std::string> log;
    ChapterRoom room;
    LogReporter reporter{log};
    FakeHost host{log};
    FakeClock clock;
    FakePump pump{clock};
    RecordingSurface surface{clock};
    Simulator sim{room, reporter, host, surface, clock, pump};
};

// MC walks from his station to R: 107 frames, 105 of them position frames.
constexpr const char* kWalk = "MC,XZR,Now";
constexpr std::size_t kWalkDrawings = 105;

TEST_F(SimulatorTest, RunDrawsEveryPositionFrameOnePeriodApartAndEndsIdle) {
    play(kWalk);
    ASSERT_EQ(surface.drawings.size(), kWalkDrawings);
    EXPECT_NEAR(surface.drawings[1].at - surface.drawings[0].at, 0.025, kTick);
    EXPECT_THAT(surface.drawings.back().markers,
                ElementsAre(Marker{"MC", 3600, 7875, 3685, 7950, 150}));
    EXPECT_FALSE(sim.busy);
    EXPECT_TRUE(sim.paused);
    EXPECT_EQ(host.exchanges, 2);
}

TEST_F(SimulatorTest, PlayDuringPlaybackHoldsBeforeNextFrameThenResumes) {
    bool pausedAfterPress = false;
    bool pausePictureWhilePlaying = false;
    pump.at(0.11, [&] {
        pausePictureWhilePlaying = host.showsPausePicture();
        sim.Simulate_Click();
        pausedAfterPress = sim.paused && sim.busy && !host.showsPausePicture();
    });
    pump.at(2.0, [&] { sim.Simulate_Click(); });
    play(kWalk);

    EXPECT_TRUE(pausePictureWhilePlaying);
    EXPECT_TRUE(pausedAfterPress);
    EXPECT_EQ(drawingsUntil(0.11), drawingsUntil(2.0));  // held: nothing drawn
    EXPECT_LE(firstDrawingAfter(2.0).at, 2.1);           // resumed within one check
    EXPECT_EQ(surface.drawings.size(), kWalkDrawings);   // and ran to the end
    EXPECT_EQ(host.exchanges, 4);
    EXPECT_FALSE(sim.busy);
    EXPECT_TRUE(sim.paused);
}

// A one-second delay frame runs from 0.05 to 1.05; the first position frame
// follows it.
struct DelayPauseCase {
    double pauseAt;
    double resumeAt;
    double firstDrawFrom;
    double firstDrawTo;
};

void PrintTo(const DelayPauseCase& c, std::ostream* os) {
    *os << "pause " << c.pauseAt << " resume " << c.resumeAt;
}

class PauseDuringDelay : public SimulatorTest,
                         public ::testing::WithParamInterface<DelayPauseCase> {};

TEST_P(PauseDuringDelay, TakesHoldOnlyWhenTheDelayHasRunOut) {
    pump.at(GetParam().pauseAt, [&] { sim.Simulate_Click(); });
    pump.at(GetParam().resumeAt, [&] { sim.Simulate_Click(); });
    play("All,Delay,1.0, MC,XZR,Now");
    ASSERT_FALSE(surface.drawings.empty());
    EXPECT_GE(surface.drawings.front().at, GetParam().firstDrawFrom - kTick);
    EXPECT_LE(surface.drawings.front().at, GetParam().firstDrawTo + kTick);
    EXPECT_EQ(surface.drawings.size(), kWalkDrawings);
}

INSTANTIATE_TEST_SUITE_P(Simulator, PauseDuringDelay,
                         ::testing::Values(DelayPauseCase{0.5, 0.8, 1.05, 1.05},
                                           DelayPauseCase{0.5, 3.0, 3.0, 3.1},
                                           DelayPauseCase{0.03, 0.5, 1.55, 1.55}));

struct SpeedChangeCase {
    const char* name;
    std::function<void(Simulator&)> click;
    double period;
};

void PrintTo(const SpeedChangeCase& c, std::ostream* os) {
    *os << c.name;
}

class SpeedDuringPlayback : public SimulatorTest,
                            public ::testing::WithParamInterface<SpeedChangeCase> {};

TEST_P(SpeedDuringPlayback, AppliesFromTheNextWait) {
    pump.at(0.11, [&] { GetParam().click(sim); });
    play(kWalk);
    const std::size_t next = drawingsUntil(0.11);
    ASSERT_LT(next + 1, surface.drawings.size());
    // The wait under way when the click came keeps its Medium length.
    EXPECT_NEAR(surface.drawings[next].at, 0.125, kTick);
    EXPECT_NEAR(surface.drawings[next + 1].at - surface.drawings[next].at, GetParam().period,
                kTick);
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, SpeedDuringPlayback,
    ::testing::Values(SpeedChangeCase{"Turtle", [](Simulator& s) { s.Speed_Click(1); }, 0.07},
                      SpeedChangeCase{"Button1", [](Simulator& s) { s.SpeedB_Click(0); }, 0.07},
                      SpeedChangeCase{"Fast", [](Simulator& s) { s.SpeedB_Click(3); }, 0.01},
                      SpeedChangeCase{"Lightning", [](Simulator& s) { s.Speed_Click(5); }, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimulatorTest, FailingSecondEntryPlaysNothingAndNextPressStartsAfresh) {
    play("MC,XZR,Now, Foo,XZR,Now");
    EXPECT_THAT(surface.drawings, IsEmpty());
    EXPECT_THAT(log, ElementsAre("message: Unknown officer: FOO",
                                 "error: Error occurred while processing: FOO, XZR, NOW"));
    EXPECT_FALSE(sim.busy);
    EXPECT_TRUE(sim.paused);
    EXPECT_EQ(host.exchanges, 2);

    play("All,-AT-X-,Now, MC,XZR,Now");
    EXPECT_EQ(surface.drawings.size(), kWalkDrawings);
    EXPECT_EQ(host.exchanges, 4);
}

TEST_F(SimulatorTest, ResetDuringPlaybackHoldsTheRunAndShowsEveryoneAtStations) {
    std::size_t drawnAfterReset = 0;
    pump.at(0.2, [&] {
        sim.Do_Reset_Click();
        drawnAfterReset = surface.drawings.size();
        EXPECT_THAT(surface.drawings.back().markers, IsEmpty());
        EXPECT_EQ(host.script, kWalk);
        EXPECT_FALSE(sim.busy);
        EXPECT_TRUE(sim.paused);
    });
    pump.at(5.0, [&] {
        EXPECT_EQ(surface.drawings.size(), drawnAfterReset);  // the held run stays held
        sim.abandon();
    });
    play(kWalk);
    EXPECT_THAT(host.textsSet, ElementsAre(kResetScript, kWalk));
    EXPECT_FALSE(host.showsPausePicture());
    EXPECT_NEAR(clock.t, 5.0, 0.1);
}

TEST_F(SimulatorTest, AbandonUnwindsPlayingAndHeldRunsPromptly) {
    pump.at(0.2, [&] { sim.abandon(); });
    play(kWalk);
    EXPECT_LT(clock.t, 0.2 + 0.025 + kTick);
    EXPECT_EQ(drawingsUntil(0.2), surface.drawings.size());
    EXPECT_FALSE(sim.busy);

    const int exchanges = host.exchanges;
    play(kWalk);  // no new run once the program is ending
    EXPECT_EQ(host.exchanges, exchanges);
    EXPECT_EQ(drawingsUntil(0.2), surface.drawings.size());
}

TEST_F(SimulatorTest, AbandonWhileHeldUnwinds) {
    pump.at(0.2, [&] { sim.Simulate_Click(); });
    pump.at(1.0, [&] { sim.abandon(); });
    play(kWalk);
    EXPECT_LT(clock.t, 1.1 + kTick);
    EXPECT_FALSE(sim.busy);
}

TEST_F(SimulatorTest, LightningStillHandlesEventsInEveryWait) {
    sim.Speed_Click(5);
    pump.at(0.0, [&] { sim.Simulate_Click(); });  // handled in the very first wait
    pump.at(0.5, [&] { sim.Simulate_Click(); });
    play(kWalk);
    EXPECT_GE(pump.passes, 107);
    ASSERT_EQ(surface.drawings.size(), kWalkDrawings);
    EXPECT_GE(surface.drawings.front().at, 0.5);
    EXPECT_LE(surface.drawings.back().at, 0.6);
}

TEST_F(SimulatorTest, UnsyncFramesOnADelayFrameKeepTheWaitAndDraw) {
    // Frame 2 is "1.0,9,3600,9860": MC's second step joined onto the delay.
    play("MC,R,Unsync, All,Delay,1.0");
    ASSERT_GE(surface.drawings.size(), 3u);
    EXPECT_THAT(surface.drawings[1].markers,
                ElementsAre(Marker{"MC", 3600, 9860, 3685, 9935, 150}));
    EXPECT_NEAR(surface.drawings[2].at - surface.drawings[1].at, 1.0, kTick);
    for (const Drawing& d : surface.drawings) {
        for (const Marker& m : d.markers) EXPECT_EQ(m.label, "MC");
    }
}

struct FrameCase {
    std::vector<const char*> frames;
    std::size_t presents;
    std::vector<Marker> lastDrawing;
};

void PrintTo(const FrameCase& c, std::ostream* os) {
    for (const char* f : c.frames) *os << '"' << f << "\" ";
}

class RunSim : public SimulatorTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(RunSim, DrawsEveryOfficerAwayFromHisStation) {
    for (const char* frame : GetParam().frames) sim.runsim(frame);
    ASSERT_EQ(surface.drawings.size(), GetParam().presents);
    EXPECT_EQ(surface.clears, static_cast<int>(GetParam().presents));
    if (GetParam().presents > 0) {
        EXPECT_EQ(surface.drawings.back().markers, GetParam().lastDrawing);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Simulator, RunSim,
    ::testing::Values(
        FrameCase{{"3,1800,9045"}, 1, {{"2P", 1800, 9045, 1885, 9120, 150}}},
        FrameCase{{"2.5,100,100"}, 1, {{"1P", 100, 100, 185, 175, 150}}},
        FrameCase{{"3.5,100,100"}, 1, {{"3P", 100, 100, 185, 175, 150}}},
        FrameCase{{"99,100,100"}, 1, {}}, FrameCase{{"-3,100,100"}, 1, {}},
        FrameCase{{"1,100"}, 0, {}}, FrameCase{{"1"}, 0, {}}, FrameCase{{""}, 0, {}},
        FrameCase{{"9,3600,9880"}, 1, {{"MC", 3600, 9880, 3685, 9955, 150}}},
        FrameCase{{"9,3600,9880", "9,3600,9900"}, 2, {}},
        FrameCase{{"9,3600,9880", "1,100"}, 1, {{"MC", 3600, 9880, 3685, 9955, 150}}},
        FrameCase{{"2,100,100,3"}, 1, {{"1P", 100, 100, 185, 175, 150}}},
        FrameCase{{"2,100,100,2,200,300"}, 1, {{"1P", 200, 300, 285, 375, 150}}},
        FrameCase{{"21,1,2,0,3,4"}, 1, {{"Mar", 3, 4, 88, 79, 150}, {"SD", 1, 2, 86, 77, 150}}},
        FrameCase{{"9,abc,100"}, 1, {{"MC", 0, 100, 85, 175, 150}}}));

struct SpeedCase {
    int index;
    double framedelay;
};

void PrintTo(const SpeedCase& c, std::ostream* os) {
    *os << "Speed " << c.index;
}

class SpeedTable : public SimulatorTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(SpeedTable, SetsFrameDelayAndButtonMatchesMenu) {
    sim.Speed_Click(GetParam().index);
    EXPECT_DOUBLE_EQ(sim.framedelay, GetParam().framedelay);
    EXPECT_EQ(host.reportedSpeed, GetParam().index);

    sim.Speed_Click(3);
    sim.SpeedB_Click(GetParam().index - 1);
    EXPECT_DOUBLE_EQ(sim.framedelay, GetParam().framedelay);
    EXPECT_EQ(host.reportedSpeed, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Simulator, SpeedTable,
                         ::testing::Values(SpeedCase{1, 0.07}, SpeedCase{2, 0.05},
                                           SpeedCase{3, 0.025}, SpeedCase{4, 0.01}, SpeedCase{5, 0},
                                           SpeedCase{0, 0}, SpeedCase{6, 0}));

struct WaitCase {
    int speed;
    Timeline frames;
    double seconds;
};

void PrintTo(const WaitCase& c, std::ostream* os) {
    *os << "Speed " << c.speed << " frames " << ::testing::PrintToString(c.frames);
}

class FrameWaits : public SimulatorTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(FrameWaits, DelayFramesIgnoreTheSpeedAndOthersWaitOnePeriod) {
    sim.Speed_Click(GetParam().speed);
    sim.paused = false;
    std::vector<std::size_t> delays;
    for (std::size_t i = 0; i < GetParam().frames.size(); ++i) {
        if (GetParam().frames[i].find(',') == std::string::npos) delays.push_back(i);
    }
    sim.runsims(GetParam().frames, delays);
    EXPECT_NEAR(clock.t, GetParam().seconds, kTick);
    EXPECT_THAT(surface.drawings, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Simulator, FrameWaits,
                         ::testing::Values(WaitCase{1, {"", ""}, 0.14}, WaitCase{5, {"", ""}, 0},
                                           WaitCase{1, {"1.0"}, 1.0}, WaitCase{5, {"1.0"}, 1.0},
                                           WaitCase{3, {"0.5", ""}, 0.525},
                                           WaitCase{4, {"-2", "soon"}, 0.02}));

}  // namespace
}  // namespace velistrad
