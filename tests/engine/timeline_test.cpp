// Laying timelines over each other: the four operations the composer builds
// every played timeline from, and the frame join they share.
#include "engine/timeline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace velistrad {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// One row per operation and shape: dest before, src, dest after.
struct OperationCase {
    const char* name;
    std::function<void(Timeline&, const Timeline&)> operation;
    Timeline dest;
    Timeline src;
    Timeline expected;
};

void PrintTo(const OperationCase& c, std::ostream* os) {
    *os << c.name;
}

class TimelineOperation : public ::testing::TestWithParam<OperationCase> {};

TEST_P(TimelineOperation, ChangesDestOnly) {
    const OperationCase& c = GetParam();
    Timeline dest = c.dest;
    const Timeline src = c.src;
    c.operation(dest, src);
    EXPECT_THAT(dest, ElementsAreArray(c.expected));
    EXPECT_EQ(src, c.src);
}

const auto kMerge = [](Timeline& d, const Timeline& s) { merge(d, s); };
const auto kConcat = [](Timeline& d, const Timeline& s) { concat(d, s); };
const auto kInterleave = [](Timeline& d, const Timeline& s) { interleave(d, s); };
auto mergeAt(std::size_t pos) {
    return [pos](Timeline& d, const Timeline& s) { mergepos(d, s, pos); };
}

INSTANTIATE_TEST_SUITE_P(
    Timeline, TimelineOperation,
    ::testing::Values(
        OperationCase{
            "merge_into_single_empty_frame", kMerge, {""}, {"s1", "s2", "s3"}, {"s1", "s2", "s3"}},
        OperationCase{"merge_starts_together",
                      kMerge,
                      {"d1", "d2,", "d3"},
                      {"s1", "s2"},
                      {"d1,s1", "d2,s2", "d3"}},
        OperationCase{
            "merge_empty_src_frame_keeps_dest", kMerge, {"d1", "d2"}, {"", "s2"}, {"d1", "d2,s2"}},
        OperationCase{"merge_no_frames", kMerge, {"d1", ""}, {}, {"d1", ""}},
        OperationCase{"mergepos_gap_filled",
                      mergeAt(5),
                      {"d0"},
                      {"s1", "s2"},
                      {"d0", "", "", "", "", "s1", "s2"}},
        OperationCase{"mergepos_inside_dest",
                      mergeAt(1),
                      {"d0", "d1", "d2"},
                      {"s1", "s2", "s3"},
                      {"d0", "d1,s1", "d2,s2", "s3"}},
        OperationCase{
            "mergepos_at_zero_is_merge", mergeAt(0), {"d0", "d1"}, {"s1"}, {"d0,s1", "d1"}},
        OperationCase{"mergepos_no_frames_pads_to_pos", mergeAt(3), {"d0"}, {}, {"d0", "", ""}},
        OperationCase{"mergepos_no_frames_inside_dest",
                      mergeAt(1),
                      {"d0", "d1", "d2"},
                      {},
                      {"d0", "d1", "d2"}},
        OperationCase{
            "concat_after_single_empty_frame", kConcat, {""}, {"s1", "s2"}, {"", "s1", "s2"}},
        OperationCase{"concat_never_joins", kConcat, {"d1,"}, {"s1"}, {"d1,", "s1"}},
        OperationCase{"concat_no_frames", kConcat, {"d1"}, {}, {"d1"}},
        OperationCase{"interleave_equal_is_merge",
                      kInterleave,
                      {"d1", "d2"},
                      {"s1", "s2"},
                      {"d1,s1", "d2,s2"}},
        OperationCase{"interleave_longer_src_shifts_dest",
                      kInterleave,
                      {"d1", "d2"},
                      {"s1", "s2", "s3", "s4", "s5"},
                      {"s1", "s2", "s3", "d1,s4", "d2,s5"}},
        OperationCase{"interleave_longer_dest_delays_src",
                      kInterleave,
                      {"d1", "d2", "d3", "d4", "d5"},
                      {"s1", "s2"},
                      {"d1", "d2", "d3", "d4,s1", "d5,s2"}},
        OperationCase{"interleave_shift_into_empty_src_frames",
                      kInterleave,
                      {"d1", "d2", "d3"},
                      {"s1", "", "", ""},
                      {"s1", "d1", "d2", "d3"}},
        OperationCase{"interleave_no_frames", kInterleave, {"d1", "d2"}, {}, {"d1", "d2"}}),
    [](const auto& info) { return std::string(info.param.name); });

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
    chain = {""};
    group = {""};
    chain = {"b1", ""};
    EXPECT_THAT(mainline, ElementsAre("", "a1", "a2", "a3", ""));

    interleave(chain, {"c1", "c2", "c3", "c4", ""});  // C Simult
    EXPECT_THAT(chain, ElementsAre("c1", "c2", "c3", "b1,c4", ""));

    mergepos(unsync, {"d1", "d2", ""}, mainline.size());  // D Unsync
    EXPECT_THAT(unsync, ElementsAre("", "", "", "", "", "d1", "d2", ""));

    merge(group, chain);
    concat(mainline, group);
    merge(mainline, unsync);
    EXPECT_THAT(mainline,
                ElementsAre("", "a1", "a2", "a3", "", "c1,d1", "c2,d2", "c3", "b1,c4", ""));
}

TEST(TimelineSplitPath, FramesFromRecords) {
    EXPECT_TRUE(splitPath("").empty());
    EXPECT_THAT(splitPath("9,1,2|9,1,3|"), ElementsAre("9,1,2", "9,1,3", ""));
    // Placements join the frame the next walk record closes.
    EXPECT_THAT(splitPath("0,5,5,1,6,6,"), ElementsAre("0,5,5,1,6,6,"));
    EXPECT_THAT(splitPath("0,5,5,9,1,2|"), ElementsAre("0,5,5,9,1,2", ""));
}

}  // namespace
}  // namespace velistrad
