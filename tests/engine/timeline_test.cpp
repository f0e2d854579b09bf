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
#include "tests/model/case_file.h"

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

template <typename Src>
void apply(const Case& c, Timeline& dest, Src&& src) {
    if (c[0] == "merge") merge(dest, std::forward<Src>(src));
    if (c[0] == "mergepos") mergepos(dest, std::forward<Src>(src), c.n(4));
    if (c[0] == "concat") concat(dest, std::forward<Src>(src));
    if (c[0] == "interleave") interleave(dest, std::forward<Src>(src));
}

// The same result whether src is kept (and left unchanged) or consumed.
TEST(TimelineOperation, KeptAndConsumedSrcGiveTheSameFrames) {
    for (const Case& c : CASES("timeline_operations.txt", 5)) {
        SCOPED_TRACE(c.line);
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
    // Entries start at frames 1 (MC), 4 (JC, CH) and 6 (SC): shown counts 2, 5 and 7.
    const std::pair<std::size_t, std::size_t> next[] = {{0, 2}, {2, 5}, {5, 7}, {7, 7}};
    for (const auto& [from, to] : next) EXPECT_EQ(t.nextEntryStart(from), to) << from;
    const std::pair<std::size_t, std::size_t> previous[] = {{9, 7}, {7, 5}, {2, 2}};
    for (const auto& [from, to] : previous) EXPECT_EQ(t.previousEntryStart(from), to) << from;
    EXPECT_EQ(t.entrySpans[1], (std::pair<std::size_t, std::size_t>{9, 20}));  // " SC,X,After"
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
