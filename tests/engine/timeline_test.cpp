// Timelines as numbers: the four operations the composer lays timelines over
// each other with, the played timeline that stays after a run, and seeking in
// it, which must land everyone exactly where playing the frames does.
#include "engine/timeline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/null_platform.h"
#include "engine/played_timeline.h"
#include "engine/script_runner.h"
#include "simulations/catalogue.h"

namespace velistrad {
namespace {

using ::testing::ElementsAre;

// Frames written as text, joined by "|": "9,1,2,3,4,5|" is a frame of two
// triples and an empty frame; a frame ending with "," ends with placements.
Timeline parse(FramePool& pool, const std::string& text) {
    Timeline t(pool);
    if (text.empty()) return t;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        const std::string frame = text.substr(start, bar - start);
        std::stringstream fields(frame);
        std::string o, x, y;
        Frame f = kEmpty;
        while (std::getline(fields, o, ',') && std::getline(fields, x, ',') &&
               std::getline(fields, y, ','))
            joinFrameConsuming(pool, f,
                               frameOf(makeTriple(std::stoi(o), std::stoi(x), std::stoi(y))));
        if (frame.ends_with(',')) f.setShape(f.shape() | kTrailingComma);
        t.push_back(f);
        if (bar == std::string::npos) return t;
        start = bar + 1;
    }
}

std::string text(const Timeline& t) {
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) out += (i ? "|" : "") + frameText(t.pool(), t[i]);
    return out;
}

enum class Op { Merge, MergePos, Concat, Interleave };

struct OperationCase {
    Op op;
    const char* dest;
    const char* src;
    const char* expected;
    std::size_t pos = 0;
};

template <typename Src>
void apply(const OperationCase& c, Timeline& dest, Src&& src) {
    switch (c.op) {
        case Op::Merge:
            return merge(dest, std::forward<Src>(src));
        case Op::MergePos:
            return mergepos(dest, std::forward<Src>(src), c.pos);
        case Op::Concat:
            return concat(dest, std::forward<Src>(src));
        case Op::Interleave:
            return interleave(dest, std::forward<Src>(src));
    }
}

class TimelineOperation : public ::testing::TestWithParam<OperationCase> {};

// The same result whether src is kept (and left unchanged) or consumed.
TEST_P(TimelineOperation, KeptAndConsumedSrcGiveTheSameFrames) {
    const OperationCase& c = GetParam();
    FramePool pool;
    Timeline kept = parse(pool, c.dest);
    const Timeline src = parse(pool, c.src);
    apply(c, kept, src);
    EXPECT_EQ(text(kept), c.expected);
    EXPECT_EQ(text(src), c.src);

    Timeline consumed = parse(pool, c.dest);
    apply(c, consumed, parse(pool, c.src));
    EXPECT_EQ(text(consumed), c.expected);
    // Laying more over the result must not reach into src's frames.
    merge(kept, parse(pool, "7,7,7|7,7,7|7,7,7|7,7,7|7,7,7"));
    EXPECT_EQ(text(src), c.src);
}

INSTANTIATE_TEST_SUITE_P(
    Timeline, TimelineOperation,
    ::testing::Values(
        // Join rules: an empty frame takes the other whole, no doubled ",",
        // and the last frame laid over decides the trailing ",".
        OperationCase{Op::Merge, "|2,2,2,|3,3,3", "1,1,1|1,1,2,4,4,4|1,1,3|1,1,4",
                      "1,1,1|2,2,2,1,1,2,4,4,4|3,3,3,1,1,3|1,1,4"},
        OperationCase{Op::Merge, "1,1,1|2,2,2", "|5,5,5,", "1,1,1|2,2,2,5,5,5,"},
        OperationCase{Op::MergePos, "1,1,1", "5,5,5", "1,1,1|||5,5,5", 3},  // gap filled
        OperationCase{Op::MergePos, "1,0,0|1,1,1|1,2,2", "5,1,1|5,2,2|5,3,3",
                      "1,0,0|1,1,1,5,1,1|1,2,2,5,2,2|5,3,3", 1},
        OperationCase{Op::MergePos, "1,1,1", "", "1,1,1|", 2},  // no frames still pads
        OperationCase{Op::Concat, "1,1,1,", "5,5,5", "1,1,1,|5,5,5"},
        // Interleave ends together: a longer src shifts dest, a longer dest delays src.
        OperationCase{Op::Interleave, "1,1,1|1,2,2", "5,1,1||5,3,3|5,4,4",
                      "5,1,1||1,1,1,5,3,3|1,2,2,5,4,4"},
        OperationCase{Op::Interleave, "1,1,1|1,2,2|1,3,3", "5,1,1|5,2,2",
                      "1,1,1|1,2,2,5,1,1|1,3,3,5,2,2"}));

TEST(TimelineSplitPath, WalksCloseFramesPlacementsJoinThem) {
    FramePool pool;
    EXPECT_TRUE(splitPath(pool, {}).empty());
    const Path walk = {{makeTriple(9, 1, 2), false}, {makeTriple(9, 1, 3), false}};
    EXPECT_EQ(text(splitPath(pool, walk)), "9,1,2|9,1,3|");
    const Path placed = {{makeTriple(0, 5, 5), true}, {makeTriple(1, 6.5f, 6), true}};
    EXPECT_EQ(text(splitPath(pool, placed)), "0,5,5,1,6.5,6,");
}

struct Played {
    explicit Played(const std::string& script) {
        ChapterRoom room;
        NullSink sink;
        timeline = composeScript(room, script, sink);
    }
    std::vector<std::string> frames() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < timeline->size(); ++i) out.push_back(timeline->frameText(i));
        return out;
    }
    std::shared_ptr<PlayedTimeline> timeline;
};

// A Now, B After, C Simult, D Unsync: B's walk ends with C's, D starts with
// C. Every frame knows the entries it comes from.
TEST(PlayedTimeline, WorkedExampleFramesAndTheirEntries) {
    const Played run("MC,X,Now, SC,X,After, JC,XX,Simult, CH,X,Unsync");
    const std::string a = "9,3600,9900", b = "10,3600,540", c = "11,405,5085", d = "1,2250,9045";
    EXPECT_THAT(run.frames(),
                ElementsAre("", a, a, "", c + "," + d, c + "," + d, b + "," + c, b + "," + c, ""));
    const PlayedTimeline& t = *run.timeline;
    EXPECT_THAT(t.entriesAt(0), ElementsAre());
    EXPECT_THAT(t.entriesAt(3), ElementsAre(0u));  // A's empty last frame
    EXPECT_THAT(t.entriesAt(5), ElementsAre(2u, 3u));
    EXPECT_THAT(t.entriesAt(6), ElementsAre(1u, 2u, 3u));  // D's empty last frame
    EXPECT_THAT(t.entriesAt(8), ElementsAre(1u, 2u));
}

TEST(PlayedTimeline, TimesCountDelaysInTheirOwnSeconds) {
    const Played run("MC,X,Now, All,Delay,1.5, MC,X,After, All,Delay,soon");
    const PlayedTimeline& t = *run.timeline;
    EXPECT_THAT(run.frames(), ElementsAre("", "9,3600,9900", "9,3600,9900", "", "1.5", "",
                                          "9,3600,9900", "9,3600,9900", ""));
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
        const Played run(entry.script);
        const PlayedTimeline& t = *run.timeline;
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
