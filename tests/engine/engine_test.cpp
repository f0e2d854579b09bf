// The engine without a window. Composing scripts into timelines: cleaning and
// splitting the text, the timing words and Delay as the frames show them, the
// place of each message in the script; the four operations that lay
// timelines over each other, and seeking in the played timeline, which must
// land everyone exactly where playing does. Then Play, pause, Reset, the
// speed controls and playback, driven headlessly: a scripted clock whose
// waits fire clicks at chosen times (re-entering the simulator, as the
// window does) and a surface that records every drawing. Last, what the
// window's editor and panels learn from the engine: the check an editor runs
// as the user types (the command line's check too), where each field and
// problem lies and that it says exactly what Play would show; an entry's
// route, and an officer's route and part. The animation schedule is tested
// with the GIF it makes (tests/app).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <sstream>

#include "engine/officer_part.h"
#include "engine/script_check.h"
#include "engine/simulator.h"
#include "engine/timeline.h"
#include "simulations/catalogue.h"
#include "tests/case_file.h"
#include "tests/engine/composed.h"
#include "tests/engine/scripted_clock.h"

namespace velistrad {
namespace {

// Frame indexes where an officer has a triple.
std::vector<std::size_t> framesOf(const std::vector<std::string>& t, int officer) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const auto fields = split(t[i], ',');
        bool has = false;
        for (std::size_t k = 0; k + 2 < fields.size(); k += 3)
            has |= fields[k] == std::to_string(officer);
        if (has) found.push_back(i);
    }
    return found;
}

TEST(ScriptRunner, TimingWordsPlaceTheEntries) {
    FOR_EACH_CASE(c, "timing_words.txt", 5) {
        const Composed run(c[0]);
        ASSERT_TRUE(run.composition);
        if (c[1] == "SameAs" || c[1] == "Frames") {
            EXPECT_EQ(run.frames, c[1] == "Frames" ? split(c[2], '|') : Composed(c[2]).frames);
            continue;
        }
        const auto first = framesOf(run.frames, static_cast<int>(c.n(3)));
        const auto second = framesOf(run.frames, static_cast<int>(c.n(4)));
        ASSERT_FALSE(first.empty() || second.empty());
        if (c[1] == "FirstAt") {
            EXPECT_EQ(first.front(), c.n(2));
            continue;
        }
        // After a group comes its empty end frame, after a delay the delay frame.
        const std::size_t gap = c[1] == "StartAfterEnd" ? 2 : c[1] == "StartAfterDelay" ? 3 : 0;
        const std::size_t from = c[1] == "StartTogether" ? first.front() : first.back();
        EXPECT_EQ(c[1] == "EndTogether" ? second.back() : second.front(), from + gap);
    }
}

// So that an editor can point at them; a failing entry composes nothing.
TEST(ScriptRunner, DiagnosticsPlaceEachMessageInTheScript) {
    const char* fields[] = {"Officer", "Direction", "Time", "Entry"};
    const char* kinds[] = {"Message", "ErrorDetails", "TooLong"};
    FOR_EACH_CASE(c, "diagnostics.txt", 9) {
        const Composed run(c[0], c[8].empty() ? kMaxRunFrames : c.n(8));
        ASSERT_GT(run.diagnostics.size(), c.n(1));
        const Diagnostic& d = run.diagnostics[c.n(1)];
        EXPECT_EQ(d.entry, c.n(2));
        EXPECT_EQ(fields[static_cast<int>(d.field)], c[3]);
        EXPECT_EQ(c[0].substr(d.start, d.length), c[4]);
        EXPECT_EQ(d.text, c[5]);
        EXPECT_EQ(d.stops, c.yes(6));
        EXPECT_EQ(kinds[static_cast<int>(d.kind)], c[7]);
        EXPECT_EQ(run.composition == nullptr, c.yes(6));
        EXPECT_TRUE(c[7] != "TooLong" || run.diagnostics.size() == 1);
    }
    EXPECT_NE(Composed("MC,XZR,Now", 250).composition, nullptr);  // under the limit
}

// Frames written as text, joined by "|": "9,1,2,3,4,5|" is a frame of two
// triples and an empty frame; a frame ending with "," ends with placements.
Timeline parse(FramePool& pool, const std::string& text) {
    Timeline t(pool);
    for (const std::string& frame : split(text, '|')) {
        Frame f = kEmpty;
        const auto v = split(frame, ',');
        for (std::size_t k = 0; k + 2 < v.size(); k += 3)
            joinFrameConsuming(pool, f,
                               frameOf(makeTriple(stoi(v[k]), stoi(v[k + 1]), stoi(v[k + 2]))));
        if (frame.ends_with(',')) f.setShape(f.shape() | kTrailingComma);
        t.push_back(f);
    }
    return t;
}

std::string text(const Timeline& t) {
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) out += (i ? "|" : "") + frameText(t.pool(), t[i]);
    return out;
}

template <typename Src>
void apply(const Case& c, Timeline& dest, Src&& src) {
    if (c[0] == "merge") merge(dest, std::forward<Src>(src));
    if (c[0] == "mergepos") mergepos(dest, std::forward<Src>(src), c.n(4));
    if (c[0] == "concat") concat(dest, std::forward<Src>(src));
    if (c[0] == "interleave") interleave(dest, std::forward<Src>(src));
}

// The same result whether src is kept (and left unchanged) or consumed.
TEST(TimelineOperation, KeptAndConsumedSrcGiveTheSameFrames) {
    FOR_EACH_CASE(c, "timeline_operations.txt", 5) {
        FramePool pool;
        Timeline kept = parse(pool, c[1]);
        const Timeline src = parse(pool, c[2]);
        apply(c, kept, src);
        EXPECT_EQ(text(kept), c[3]);
        EXPECT_EQ(text(src), c[2]);

        Timeline consumed = parse(pool, c[1]);
        apply(c, consumed, parse(pool, c[2]));
        EXPECT_EQ(text(consumed), c[3]);
        // Laying more over the result must not reach into src's frames.
        merge(kept, parse(pool, "7,7,7|7,7,7|7,7,7|7,7,7|7,7,7"));
        EXPECT_EQ(text(src), c[2]);
    }
}

// A Now, B After, C Simult, D Unsync: B's walk ends with C's, D starts with
// C. The entries of each frame are pinned by velistrad-cli compile --entries.
TEST(PlayedTimeline, WorkedExampleEntryStartsAndTimesWithDelays) {
    const Composed run(
        "MC,X,Now, SC,X,After, JC,XX,Simult, CH,X,Unsync");  // frames in timing_words.txt
    const PlayedTimeline& t = *run.composition;
    // Entries start at frames 1 (MC), 4 (JC, CH) and 6 (SC): shown counts 2, 5 and 7.
    const std::pair<std::size_t, std::size_t> next[] = {{0, 2}, {2, 5}, {5, 7}, {7, 7}};
    for (const auto& [from, to] : next) EXPECT_EQ(t.nextEntryStart(from), to) << from;
    const std::pair<std::size_t, std::size_t> previous[] = {{9, 7}, {7, 5}, {2, 2}};
    for (const auto& [from, to] : previous) EXPECT_EQ(t.previousEntryStart(from), to) << from;
    EXPECT_EQ(t.entrySpans[1], (std::pair<std::size_t, std::size_t>{9, 20}));  // " SC,X,After"

    // Times count delays in their own seconds.
    const Composed delays("MC,X,Now, All,Delay,1.5, MC,X,After, All,Delay,soon");
    const PlayedTimeline& d = *delays.composition;  // frames in timing_words.txt
    EXPECT_TRUE(d.frame(4).isDelay());
    EXPECT_DOUBLE_EQ(d.timeAt(0, 0.025), 0);
    EXPECT_DOUBLE_EQ(d.timeAt(4, 0.025), 4 * 0.025);
    EXPECT_DOUBLE_EQ(d.timeAt(5, 0.025), 4 * 0.025 + 1.5);
    EXPECT_DOUBLE_EQ(d.timeAt(d.size(), 0.07), 8 * 0.07 + 1.5);
    EXPECT_DOUBLE_EQ(d.timeAt(d.size() + 9, 0), 1.5);  // clamped; Lightning waits only delays
}

// For every catalogue script and every frame, seeking gives exactly the
// positions that playing the frames before it gives; seeks go forwards,
// backwards, repeat, to 0 and past the end.
TEST(PlayedTimeline, SeekingLandsWhereStepping) {
    std::mt19937 random(23);
    for (const CatalogueEntry& entry : catalogue()) {
        SCOPED_TRACE(entry.caption);
        const Composed run(entry.script);
        const PlayedTimeline& t = *run.composition;
        ChapterRoom stepped;
        TimelineCursor player(t, stepped);
        player.seek(0);
        std::vector<ChapterRoom> before{stepped};
        while (!player.atEnd()) {
            player.step();
            before.push_back(stepped);
        }
        ChapterRoom sought;
        TimelineCursor seeker(t, sought);
        std::vector<std::size_t> order(t.size() + 1);
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::shuffle(order.begin(), order.end(), random);
        order.insert(order.end(), {0, t.size() + 5, t.size() / 2, t.size() / 2, 1});
        for (const std::size_t n : order) {
            seeker.seek(n);
            const Positions p = positions(sought), q = positions(before[std::min(n, t.size())]);
            // Bit for bit: -0 is not 0.
            ASSERT_EQ(std::memcmp(p.data(), q.data(), p.size() * sizeof(p[0])), 0) << "frame " << n;
        }
    }
}

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
    std::vector<std::pair<std::size_t, std::string>> shown;
    bool held = false;  // more than a handful: Play showed the first ones only
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
    FOR_EACH_CASE(c, "simulator_runs.txt", 7) {
        World w;
        if (!c[6].empty()) w.sim.Speed_Click(static_cast<int>(c.n(6)));
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
    sim.Speed_Click(1);
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

// Moving through a kept timeline: held mid-run and moved back, a run plays
// on from there and ends where an uninterrupted run ends; after a run, Play
// plays on from a frame moved back to, or compiles afresh once the text changed.
// (Held and moved, a run playing on in the window is tested with the timeline.)
// Only officers away from their stations are drawn, in the officer table's
// order, where they stand to the fraction: labels follow walks exactly.
TEST_F(SimulatorTest, DrawsOfficersAwayFromTheirStationsInTableOrderUnrounded) {
    room.officer(3).curX = 3600.5f;
    room.officer(1).curY = 9045.25f;
    sim.runsim();
    EXPECT_EQ(current.str(), "CH#1@2250,9045.25 2P#3@3600.5,2745 ");
    room.officer(3).curX = 990;
    sim.runsim();
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

TEST(ScriptCheck, MarksFieldsAndProblemsWhereTheyAre) {
    FOR_EACH_CASE(c, "script_check.txt", 6) {
        const CheckResult check = checkScript(ChapterRoom(), c[0]);
        // "O[Mar]" for a mark of style O over the bytes "Mar", then the
        // message of an error or a warning.
        std::string marks;
        for (const FieldMark& m : fieldMarks(c[0], check))
            marks += (marks.empty() ? "" : "|") + std::string(1, "ODTLEW"[int(m.style)]) + '[' +
                     c[0].substr(m.start, m.end - m.start) + ']' + m.message;
        EXPECT_EQ(marks, c[1]);
        EXPECT_EQ(entryAtText(c[0], c.n(2)), c[3]);
        EXPECT_EQ(problemLines(c[0], check), split(c[4], '|'));
        EXPECT_EQ(check.plays, c.yes(5));
    }
}

TEST(ScriptCheck, SaysWhatPlayWouldShow) {
    std::vector<std::string> scripts;
    for (const CatalogueEntry& e : catalogue()) scripts.emplace_back(e.script);
    // Pieces of entries, good and bad, thrown together.
    const char* officers[] = {"Mar", "sc", "ALL", "XX", "", "Ch+MC", "Sen "};
    const char* directions[] = {"XZTCEVU",           "XZE-N-Ch-", "-AT-MC-", "XZQ", "Delay",
                                "-DIAG_E-MC+W+220-", "X Z",       "",        "ZX-", "1"};
    const char* times[] = {"Now", "After", "Simult", "Unsync", "soon", "0.5", ""};
    std::mt19937 random(7);
    auto pick = [&random](const auto& from) { return from[random() % std::size(from)]; };
    for (int n = 0; n < 300; ++n) {
        std::string script;
        for (int e = 1 + static_cast<int>(random() % 4); e > 0; --e)
            script += std::string(pick(officers)) + ", " + pick(directions) + ",\r\n" +
                      pick(times) + (e > 1 ? ", " : "");
        scripts.push_back(script);
    }
    for (const std::string& script : scripts) {
        SCOPED_TRACE(script);
        World play;  // a window that has just started
        play.sim.Speed_Click(5);
        play.play(script);
        const CheckResult check = checkScript(ChapterRoom(), script);
        std::vector<std::pair<std::size_t, std::string>> said;
        for (const Diagnostic& d : check.problems) said.emplace_back(d.entry, d.text);
        EXPECT_EQ(check.plays, play.sim.played() != nullptr);
        if (!play.held) {
            EXPECT_EQ(said, play.shown);
            continue;
        }
        // Play held most back: what it showed comes in the check, in order.
        auto next = said.begin();
        for (const auto& s : play.shown) next = std::find(next, said.end(), s);
        EXPECT_NE(next, said.end());
    }
}

TEST(ScriptCheck, PreviewsTheRouteOfOneEntry) {
    const std::string script = "Mar, XZTCEVU, Now, Mar, UZX, After, All, Delay, 1";
    ChapterRoom room;
    const int mar = room.findofficer("MAR");
    const std::pair<float, float> station(room.officer(mar).stationX, room.officer(mar).stationY);
    const EntryRoute first = entryRoute(room, script, 0);
    ASSERT_EQ(first.routes.size(), 1u);
    EXPECT_EQ(first.routes[0].points.front(), station);
    for (const int letter : {2, 4, 19, 20, 21})  // C E T U V, and those walked by on the way
        EXPECT_TRUE(std::count(first.points.begin(), first.points.end(), letter)) << letter;
    EXPECT_EQ(first.stations, std::vector<int>{mar});
    // The next starts where the first left him, at U, and ends at his station.
    const EntryRoute second = entryRoute(room, script, 1);
    ASSERT_EQ(second.routes.size(), 1u);
    const std::pair<float, float> u(room.point(20).x, room.point(20).y);
    EXPECT_EQ(second.routes[0].points.front(), u);
    EXPECT_EQ(second.routes[0].points.back(), station);
    EXPECT_TRUE(entryRoute(room, script, 2).routes.empty());  // a pause walks nowhere
    EXPECT_TRUE(entryRoute(room, "XX, XZ, Now, Mar, ZX, Now", 1).routes.empty());
}

constexpr int kMar = 0;
constexpr int kSC = 10;

TEST(OfficerTrailTest, CornersInOrderEndWhereTheRunLeavesHimAndJumpsAreMarked) {
    const auto played =
        Composed("Mar, XZTCEVU, Now, SC, XZE, Simult, ALL, -AT-X-, After").composition;
    const std::vector<Trail> trails = officerTrails(*played);
    ASSERT_EQ(trails.size(), static_cast<std::size_t>(kOfficerCount));
    const ChapterRoom stations;
    EXPECT_EQ(trails[1].size(), 1u) << "CH never moves";
    for (const int k : {kMar, kSC}) {
        const Trail& t = trails[static_cast<std::size_t>(k)];
        ASSERT_GE(t.size(), 4u);
        EXPECT_EQ(t.front(),
                  (TrailPoint{static_cast<float>(stations.officer(k).stationX),
                              static_cast<float>(stations.officer(k).stationY), 0, false}));
        for (std::size_t i = 1; i < t.size(); ++i) {
            EXPECT_LT(t[i - 1].frame, t[i].frame);
            if (i + 1 == t.size() || t[i + 1].jump) continue;
            // A corner turns: no point lies on a straight walk through it.
            const double cross = (t[i].x - t[i - 1].x) * (t[i + 1].y - t[i].y) -
                                 (t[i].y - t[i - 1].y) * (t[i + 1].x - t[i].x);
            EXPECT_NE(cross, 0.0) << k << " corner " << i;
        }
        // Put back on his station at once by the last entry.
        EXPECT_EQ(t.back(), (TrailPoint{t.front().x, t.front().y, t.back().frame, true}));
        // Where the walk before that ends is where the run stood then.
        ChapterRoom room;
        played->seek(t[t.size() - 2].frame, room);
        EXPECT_EQ(room.officer(k).curX, t[t.size() - 2].x);
        EXPECT_EQ(room.officer(k).curY, t[t.size() - 2].y);
    }
}

// With the frames and times of each entry.
TEST(OfficerPartTest, ListsTheEntriesThatMoveHimInPlayingOrderWithTimesAndPlaces) {
    const double medium = speedFrameDelay(3);
    FOR_EACH_CASE(c, "officer_parts.txt", 3) {
        const auto played = Composed(c[0]).composition;
        std::string steps;
        for (const PartStep& step : officerPart(*played, c[0], static_cast<int>(c.n(1)), medium)) {
            steps += (steps.empty() ? "" : "|") + std::to_string(step.entry) + ":" + step.text +
                     ":" + step.reading;
            const auto found =
                std::find_if(played->entries().begin(), played->entries().end(),
                             [&](const EntryFrames& e) { return e.entry == step.entry; });
            ASSERT_NE(found, played->entries().end());
            EXPECT_EQ(step.firstFrame, found->first);
            EXPECT_EQ(step.lastFrame, found->first + found->count - 1);
            EXPECT_DOUBLE_EQ(step.start, played->timeAt(step.firstFrame, medium));
            EXPECT_DOUBLE_EQ(step.end, played->timeAt(step.lastFrame + 1, medium));
        }
        EXPECT_EQ(steps, c[2]);
    }
}

}  // namespace
}  // namespace velistrad
