// Composing scripts into timelines, without a window: cleaning and splitting
// the text, the timing words and Delay as the frames show them, the place of
// each message in the script, scripts far longer than the old fixed tables;
// the four operations that lay timelines over each other, and seeking in the
// played timeline, which must land everyone exactly where playing does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "engine/timeline.h"
#include "simulations/catalogue.h"
#include "tests/engine/composed.h"
#include "tests/model/case_file.h"

namespace velistrad {
namespace {

constexpr int kMc = 9;
constexpr int kSc = 10;

// Frame indexes where an officer has a triple.
std::vector<std::size_t> framesOf(const std::vector<std::string>& t, int officer) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const auto fields = split(t[i], ',');
        for (std::size_t k = 0; k + 2 < fields.size(); k += 3)
            if (fields[k] == std::to_string(officer)) {
                found.push_back(i);
                break;
            }
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

// MC walks J, O, J, O ... one After entry each: 1,200 entries and more than
// 32,768 frames, then a delay and an Unsync entry placed after it.
TEST(ScriptRunner, LongScriptIsComposedWhole) {
    std::string text;
    for (int i = 0; i < 1200; ++i) text += i % 2 == 0 ? "MC,J,After, " : "MC,O,After, ";
    const Composed run(text + "All,Delay,1.0, SC,XZE,Unsync");
    ASSERT_TRUE(run.composition);
    const auto& t = run.frames;
    const std::size_t delay =
        static_cast<std::size_t>(std::find(t.begin(), t.end(), "1.0") - t.begin());
    EXPECT_GT(delay, 32768u);
    EXPECT_EQ(t[framesOf(t, kMc).back()], "9,3600,5625");  // the 1,200th walk ends at O
    EXPECT_EQ(framesOf(t, kSc).front(), delay + 1);
    EXPECT_EQ(framesOf(t, kSc).back(), t.size() - 2);
}

// So that an editor can point at them; a failing entry composes nothing.
TEST(ScriptRunner, DiagnosticsPlaceEachMessageInTheScript) {
    const char* fields[] = {"Officer", "Direction", "Time", "Entry"};
    const char* kinds[] = {"Message", "ErrorDetails", "TooLong"};
    FOR_EACH_CASE(c, "diagnostics.txt", 8) {
        const Composed run(c[0]);
        ASSERT_GT(run.diagnostics.size(), c.n(1));
        const Diagnostic& d = run.diagnostics[c.n(1)];
        EXPECT_EQ(d.entry, c.n(2));
        EXPECT_EQ(fields[static_cast<int>(d.field)], c[3]);
        EXPECT_EQ(c[0].substr(d.start, d.length), c[4]);
        EXPECT_EQ(d.text, c[5]);
        EXPECT_EQ(d.stops, c.yes(6));
        EXPECT_EQ(kinds[static_cast<int>(d.kind)], c[7]);
        EXPECT_EQ(run.composition == nullptr, c.yes(6));
    }
}

// A script that would make more frames than a run may have is refused while
// compiling, in the middle of a single long entry too.
TEST(ScriptRunner, TooManyFramesStopEarlyWithOneMessage) {
    std::string walks = "Mar,";
    for (int i = 0; i < 2000; ++i) walks += "AV";
    for (const std::string& script :
         {walks + ",Now", std::string("MC,XZR,Now,MC,RZX,After,MC,XZR,After")}) {
        const Composed run(script, 250);
        EXPECT_EQ(run.composition, nullptr);
        ASSERT_EQ(run.diagnostics.size(), 1u);
        EXPECT_EQ(run.diagnostics[0].kind, DiagnosticKind::TooLong);
        EXPECT_EQ(run.diagnostics[0].text,
                  "This simulation is too long to play: its officers would take more than 250 "
                  "steps. Shorten the script, or split it into several simulations.");
    }
    EXPECT_NE(Composed("MC,XZR,Now", 250).composition, nullptr);
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

TEST(TimelineSplitPath, WalksCloseFramesPlacementsJoinThem) {
    FramePool pool;
    EXPECT_TRUE(splitPath(pool, {}).empty());
    const Path walk = {{makeTriple(9, 1, 2), false}, {makeTriple(9, 1, 3), false}};
    EXPECT_EQ(text(splitPath(pool, walk)), "9,1,2|9,1,3|");
    const Path placed = {{makeTriple(0, 5, 5), true}, {makeTriple(1, 6.5f, 6), true}};
    EXPECT_EQ(text(splitPath(pool, placed)), "0,5,5,1,6.5,6,");
}

// A Now, B After, C Simult, D Unsync: B's walk ends with C's, D starts with
// C. The entries of each frame are pinned by velistrad-cli compile --entries.
TEST(PlayedTimeline, WorkedExampleFramesAndEntryStarts) {
    const Composed run(
        "MC,X,Now, SC,X,After, JC,XX,Simult, CH,X,Unsync");  // frames in timing_words.txt
    const PlayedTimeline& t = *run.composition;
    // Entries start at frames 1 (MC), 4 (JC, CH) and 6 (SC): shown counts 2, 5 and 7.
    const std::pair<std::size_t, std::size_t> next[] = {{0, 2}, {2, 5}, {5, 7}, {7, 7}};
    for (const auto& [from, to] : next) EXPECT_EQ(t.nextEntryStart(from), to) << from;
    const std::pair<std::size_t, std::size_t> previous[] = {{9, 7}, {7, 5}, {2, 2}};
    for (const auto& [from, to] : previous) EXPECT_EQ(t.previousEntryStart(from), to) << from;
    EXPECT_EQ(t.entrySpans[1], (std::pair<std::size_t, std::size_t>{9, 20}));  // " SC,X,After"
}

TEST(PlayedTimeline, TimesCountDelaysInTheirOwnSeconds) {
    const Composed run("MC,X,Now, All,Delay,1.5, MC,X,After, All,Delay,soon");
    const PlayedTimeline& t = *run.composition;  // frames in timing_words.txt
    EXPECT_TRUE(t.frame(4).isDelay());
    EXPECT_DOUBLE_EQ(t.timeAt(0, 0.025), 0);
    EXPECT_DOUBLE_EQ(t.timeAt(4, 0.025), 4 * 0.025);
    EXPECT_DOUBLE_EQ(t.timeAt(5, 0.025), 4 * 0.025 + 1.5);
    EXPECT_DOUBLE_EQ(t.timeAt(t.size(), 0.07), 8 * 0.07 + 1.5);
    EXPECT_DOUBLE_EQ(t.timeAt(t.size() + 9, 0), 1.5);  // clamped; Lightning waits only delays
}

bool samePositions(const ChapterRoom& a, const ChapterRoom& b) {
    for (int i = 0; i < kOfficerCount; ++i) {
        if (std::memcmp(&a.officer(i).curX, &b.officer(i).curX, sizeof(float)) != 0 ||
            std::memcmp(&a.officer(i).curY, &b.officer(i).curY, sizeof(float)) != 0)
            return false;
    }
    return true;
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
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        order.insert(order.end(), {0, t.size() + 5, t.size() / 2, t.size() / 2, 1});
        for (const std::size_t n : order) {
            seeker.seek(n);
            ASSERT_TRUE(samePositions(sought, before[std::min(n, t.size())])) << "frame " << n;
        }
    }
}

}  // namespace
}  // namespace velistrad
