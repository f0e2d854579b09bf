// The played timeline: the entries and times of each frame, and seeking,
// which must land everyone exactly where playing does.
#include "engine/played_timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>

#include "simulations/catalogue.h"
#include "tests/case_file.h"
#include "tests/engine/composed.h"

namespace velistrad {
namespace {

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

// Entry steps stop at every entry that has frames, a Delay's one frame
// included, one entry a step, and the same stops on the way back; there the
// readout names the entry. A Delay of no seconds has no frame to stop at.
TEST(PlayedTimeline, EntryStepsStopAtEachEntryDelaysIncluded) {
    const std::string script = "MC,X,Now, All,Delay,1.5, MC,X,After, All,Delay,soon, SC,X,After";
    const Composed run(script);
    const PlayedTimeline& t = *run.composition;
    std::vector<std::size_t> forward, back;
    std::vector<std::string> named;
    for (std::size_t at = 0; t.nextEntryStart(at) != at;) {
        at = t.nextEntryStart(at);
        forward.push_back(at);
        named.push_back(entryText(t, script, at));
    }
    EXPECT_EQ(named, (std::vector<std::string>{"entry 1: MC,X,Now", "entry 2: All,Delay,1.5",
                                               "entry 3: MC,X,After", "entry 5: SC,X,After"}));
    for (std::size_t at = t.size(); t.previousEntryStart(at) != at;) {
        at = t.previousEntryStart(at);
        back.insert(back.begin(), at);
    }
    EXPECT_EQ(back, forward);
    // The readout of a run edited since says so.
    EXPECT_EQ(readoutText(t, script, forward[1], 0.025, true),
              "frame 5 / 12 \u00B7 1.6 s / 1.8 s \u00B7 entry 2: All,Delay,1.5 \u00B7 the run of "
              "the script before the edit");
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

}  // namespace
}  // namespace velistrad
