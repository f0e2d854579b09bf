// An officer's route and part, and the animation schedule of a run.
#include "engine/officer_part.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "engine/null_platform.h"
#include "engine/script_runner.h"
#include "engine/simulator.h"

namespace velistrad {
namespace {

std::shared_ptr<PlayedTimeline> compose(const std::string& script) {
    ChapterRoom room;
    NullSink sink;
    auto played = composeScript(room, script, sink);
    EXPECT_TRUE(played) << script;
    return played;
}

constexpr int kMar = 0;
constexpr int kSC = 10;

TEST(OfficerTrailTest, CornersInOrderEndWhereTheRunLeavesHimAndJumpsAreMarked) {
    const auto played = compose("Mar, XZTCEVU, Now, SC, XZE, Simult, ALL, -AT-X-, After");
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
        EXPECT_TRUE(t.back().jump);
        EXPECT_EQ(t.back().x, t.front().x);
        EXPECT_EQ(t.back().y, t.front().y);
        // Where the walk before that ends is where the run stood then.
        ChapterRoom room;
        played->seek(t[t.size() - 2].frame, room);
        EXPECT_EQ(room.officer(k).curX, t[t.size() - 2].x);
        EXPECT_EQ(room.officer(k).curY, t[t.size() - 2].y);
    }
}

TEST(OfficerPartTest, ListsTheEntriesThatMoveHimInPlayingOrderWithTimesAndPlaces) {
    const std::string script =
        "SC, XZE, Now,\nMar, XZTCEVU, After, All, Delay, 1.0, CH, XZ, Now, Mar, UZX, Unsync";
    const auto played = compose(script);
    const double medium = speedFrameDelay(3);
    const std::vector<PartStep> part = officerPart(*played, script, kMar, medium);
    ASSERT_EQ(part.size(), 2u);
    EXPECT_EQ(part[0].entry, 1u);
    EXPECT_EQ(part[0].text, "Mar, XZTCEVU, After");
    EXPECT_EQ(part[0].reading, "from his station to floor letter U");
    EXPECT_EQ(part[1].entry, 4u);
    EXPECT_EQ(part[1].text, "Mar, UZX, Unsync");
    EXPECT_EQ(part[1].reading, "from floor letter U to his station");
    for (const PartStep& step : part) {
        const auto found =
            std::find_if(played->entries().begin(), played->entries().end(),
                         [&](const EntryFrames& e) { return e.entry == step.entry; });
        ASSERT_NE(found, played->entries().end());
        EXPECT_EQ(step.firstFrame, found->first);
        EXPECT_EQ(step.lastFrame, found->first + found->count - 1);
        EXPECT_DOUBLE_EQ(step.start, played->timeAt(step.firstFrame, medium));
        EXPECT_DOUBLE_EQ(step.end, played->timeAt(step.lastFrame + 1, medium));
    }
    EXPECT_GT(part[0].start, 0.0) << "After SC's walk";
    EXPECT_TRUE(officerPart(*played, script, 5, medium).empty()) << "4P stays home";
    // The reset moves everyone who stands away from his station.
    EXPECT_EQ(officerPart(*compose("SC,XZE,Now,ALL,-AT-X-,After"), "SC,XZE,Now,ALL,-AT-X-,After",
                          kSC, medium)
                  .size(),
              2u);
    const ChapterRoom room;
    EXPECT_EQ(placeName(room, kMar, room.point(24).x, room.point(24).y), "light 3");
    EXPECT_EQ(placeName(room, kMar, 100.5f, 7.f), "(101, 7)");
}

TEST(GifScheduleTest, KeepsTheRunsTimeInPicturesOfTwoCentisecondsOrMore) {
    const std::string walk = "Mar, XZTCEVU, Now, All, Delay, 1.0, Mar, UZX, Now";
    struct Case {
        std::string script;
        int speed;
        double fewestFramesAPicture;  // on average
    } const cases[] = {
        {walk, 1, 1}, {walk, 3, 1}, {walk, 4, 2}, {walk, 5, 1}, {"MC,XZ,Now,SC,XZ,Simult", 4, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script + " at speed " + std::to_string(c.speed));
        const auto played = compose(c.script);
        const double period = gifFramePeriod(speedFrameDelay(c.speed));
        const std::vector<GifFrame> pictures = gifSchedule(*played, speedFrameDelay(c.speed));
        long total = 0;
        std::size_t frames = 0;
        for (const GifFrame& p : pictures) {
            EXPECT_GE(p.centiseconds, kMinGifDelay);
            EXPECT_GT(p.frames, frames);
            frames = p.frames;
            total += p.centiseconds;
        }
        EXPECT_EQ(frames, played->size());
        EXPECT_LE(std::abs(total - played->timeAt(played->size(), period) * 100), 1.0);
        EXPECT_LE(pictures.size() * c.fewestFramesAPicture, played->size() + 1.0);
    }
    // Two empty frames of a centisecond each make one picture.
    EXPECT_EQ(gifSchedule(*compose(""), speedFrameDelay(4)), (std::vector<GifFrame>{{2, 2}}));
}

}  // namespace
}  // namespace velistrad
