// An officer's route and part: corners in order, jumps marked, and the
// entries that move him with their times and places. The animation schedule
// is tested with the GIF it makes (tests/render).
#include "engine/officer_part.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/simulator.h"
#include "tests/case_file.h"
#include "tests/engine/composed.h"

namespace velistrad {
namespace {

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
