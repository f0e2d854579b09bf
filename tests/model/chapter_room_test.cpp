// findofficer and the band points of representative officers.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "model/chapter_room.h"
#include "model/walking_band.h"

namespace velistrad {
namespace {

TEST(ChapterRoom, FindofficerComparesKeysExactly) {
    const std::vector<std::tuple<const char*, int>> kRows = {
        {"MAR", 0}, {"CH", 1},    {"SD", 21},    {"SEN", 15}, {"SCR", 19}, {"SC", 10},
        {"1P", 2},  {"Mar", -1},  {"ALL", -1},   {"", -1},    {"MC ", -1}, {" MC", -1},
        {"M", -1},  {"MARX", -1}, {"CH+JC", -1}, {"mc", -1}};
    const ChapterRoom room;
    for (const auto& [name, expected] : kRows) {
        EXPECT_EQ(room.findofficer(name), expected) << '"' << name << '"';
    }
}

// One or two officers of each group; SC and SCR share a key prefix.
TEST(WalkingBand, BandPointAndReturnOrder) {
    const std::vector<std::tuple<const char*, const char*, int, int, int>> kRows = {
        {"MAR", "Mar", 1, 1800, 8460}, {"SCR", "Scr", 1, 1395, 8460}, {"SC", "SC", 2, 3600, 1530},
        {"JS", "JS", 3, 4275, 2340},   {"5P", "5P", 4, 5750, 2745},   {"OR", "OR", 4, 5750, 8595},
        {"SEN", "Sen", 5, 1500, 135},  {"1P", "1P", 5, 1500, 7650}};
    const ChapterRoom room;
    for (const auto& [key, label, group, x, y] : kRows) {
        SCOPED_TRACE(key);
        const int k = room.findofficer(key);
        ASSERT_GE(k, 0);
        EXPECT_EQ(room.officer(k).abbreviation, label);
        const BandPoint z = bandPoint(room, k);
        EXPECT_EQ(z.group, group);
        EXPECT_EQ(z.x, x);
        EXPECT_EQ(z.y, y);
        EXPECT_EQ(returnsAlongXFirst(room, k), group <= 3);
    }
}

}  // namespace
}  // namespace velistrad
