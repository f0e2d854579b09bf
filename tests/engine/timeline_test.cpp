// Laying timelines over each other: the four operations the composer builds
// every played timeline from, and the frame join they share.
#include "engine/timeline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace velistrad {
namespace {

using ::testing::ElementsAre;

enum class Op { Merge, MergePos, Concat, Interleave };

// One row per operation and shape: dest before, src, dest after, each written
// as frames joined by "|" ("" is no frames at all).
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
    Timeline kept = splitPath(c.dest);
    const Timeline src = splitPath(c.src);
    apply(c, kept, src);
    EXPECT_EQ(kept, splitPath(c.expected));
    EXPECT_EQ(src, splitPath(c.src));

    Timeline consumed = splitPath(c.dest);
    apply(c, consumed, splitPath(c.src));
    EXPECT_EQ(consumed, splitPath(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Timeline, TimelineOperation,
    ::testing::Values(
        // Join rules: an empty frame takes the other whole, no doubled ",".
        OperationCase{Op::Merge, "|d2,|d3", "s1|s2|s3|s4", "s1|d2,s2|d3,s3|s4"},
        OperationCase{Op::Merge, "d1|d2", "|s2", "d1|d2,s2"},
        OperationCase{Op::MergePos, "d0", "s1", "d0|||s1", 3},  // gap filled
        OperationCase{Op::MergePos, "d0|d1|d2", "s1|s2|s3", "d0|d1,s1|d2,s2|s3", 1},
        OperationCase{Op::MergePos, "d0", "", "d0|", 2},  // no frames still pads
        OperationCase{Op::Concat, "d1,", "s1", "d1,|s1"},
        // Interleave ends together: a longer src shifts dest, a longer dest delays src.
        OperationCase{Op::Interleave, "d1|d2", "s1||s3|s4", "s1||d1,s3|d2,s4"},
        OperationCase{Op::Interleave, "d1|d2|d3", "s1|s2", "d1|d2,s1|d3,s2"}));

// The runner's rules applied by hand to symbolic frames: A Now, B After,
// C Simult, D Unsync. Ten frames, b1 together with c4, D starting with C.
TEST(TimelineComposition, WorkedExampleGivesTenFrames) {
    Timeline mainline{""};
    Timeline group{""};
    Timeline chain{""};
    Timeline unsync{""};

    merge(group, chain);  // A Now
    chain = {"a1", "a2", "a3", ""};

    merge(group, chain);  // B After closes the group
    concat(mainline, group);
    group = {""};
    chain = {"b1", ""};
    EXPECT_THAT(mainline, ElementsAre("", "a1", "a2", "a3", ""));

    interleave(chain, {"c1", "c2", "c3", "c4", ""});  // C Simult
    EXPECT_THAT(chain, ElementsAre("c1", "c2", "c3", "b1,c4", ""));

    mergepos(unsync, {"d1", "d2", ""}, mainline.size());  // D Unsync
    merge(group, chain);
    concat(mainline, group);
    merge(mainline, unsync);
    EXPECT_THAT(mainline,
                ElementsAre("", "a1", "a2", "a3", "", "c1,d1", "c2,d2", "c3", "b1,c4", ""));
}

TEST(TimelineSplitPath, FramesFromRecords) {
    EXPECT_TRUE(splitPath("").empty());
    EXPECT_THAT(splitPath("9,1,2|9,1,3|"), ElementsAre("9,1,2", "9,1,3", ""));
    EXPECT_THAT(splitPath("0,5,5,1,6,6,"), ElementsAre("0,5,5,1,6,6,"));
}

}  // namespace
}  // namespace velistrad
