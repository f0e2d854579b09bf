// The officer and point tables, findofficer and every officer's band point,
// checked against the room as it is drawn.
#include <gtest/gtest.h>

#include <string>

#include "model/chapter_room.h"
#include "model/walking_band.h"

namespace velistrad {
namespace {

struct OfficerRow {
    int index;
    const char* abbreviation;
    const char* key;
    std::int32_t x, y;
    int group;
    std::int32_t zx, zy;
};

// Station and band point of every officer, as on the plan.
constexpr OfficerRow kOfficers[] = {
    {0, "Mar", "MAR", 1800, 9045, 1, 1800, 8460}, {1, "CH", "CH", 2250, 9045, 1, 2250, 8460},
    {2, "1P", "1P", 990, 7650, 5, 1500, 7650},    {3, "2P", "2P", 990, 2745, 5, 1500, 2745},
    {4, "3P", "3P", 2520, 1080, 2, 2520, 1530},   {5, "4P", "4P", 4725, 1080, 2, 4725, 1530},
    {6, "5P", "5P", 6255, 2745, 4, 5750, 2745},   {7, "6P", "6P", 6255, 5130, 4, 5750, 5130},
    {8, "7P", "7P", 6210, 7695, 4, 5750, 7695},   {9, "MC", "MC", 3600, 9900, 1, 3600, 8460},
    {10, "SC", "SC", 3600, 540, 2, 3600, 1530},   {11, "JC", "JC", 405, 5085, 5, 1500, 5085},
    {12, "JS", "JS", 4275, 1980, 3, 4275, 2340},  {13, "SS", "SS", 2925, 1980, 3, 2925, 2340},
    {14, "JD", "JD", 2070, 405, 5, 1500, 405},    {15, "Sen", "SEN", 2025, 135, 5, 1500, 135},
    {16, "OR", "OR", 6300, 8595, 4, 5750, 8595},  {17, "AL", "AL", 900, 8595, 5, 1500, 8595},
    {18, "TR", "TR", 1440, 9945, 1, 1440, 8460},  {19, "Scr", "SCR", 1395, 9945, 1, 1395, 8460},
    {20, "SB", "SB", 5355, 9045, 1, 5355, 8460},  {21, "SD", "SD", 4950, 9045, 1, 4950, 8460},
};

TEST(ChapterRoomTables, EveryOfficerRowStartsAtHisStation) {
    const ChapterRoom room;
    for (const OfficerRow& row : kOfficers) {
        SCOPED_TRACE(row.abbreviation);
        const Officer& o = room.officer(row.index);
        EXPECT_EQ(o.abbreviation, row.abbreviation);
        EXPECT_EQ(o.key, row.key);
        EXPECT_EQ(o.stationX, row.x);
        EXPECT_EQ(o.stationY, row.y);
        EXPECT_EQ(o.curX, static_cast<float>(row.x));
        EXPECT_EQ(o.curY, static_cast<float>(row.y));
        EXPECT_TRUE(o.atStation());
    }
}

TEST(ChapterRoomTables, PointsAndLights) {
    struct Row {
        int index;
        std::int32_t x, y;
    };
    constexpr Row kPoints[] = {
        {0, 1500, 270},   {1, 5750, 315},   {2, 1500, 1530},  {3, 3600, 1530},  {4, 5750, 1530},
        {5, 1500, 2340},  {6, 3600, 2340},  {7, 5750, 2340},  {8, 1500, 4590},  {9, 3600, 4590},
        {10, 5750, 4590}, {11, 1500, 5130}, {12, 5750, 5130}, {13, 1500, 5625}, {14, 3600, 5625},
        {15, 5750, 5625}, {16, 1500, 7875}, {17, 3600, 7875}, {18, 5750, 7875}, {19, 1500, 8460},
        {20, 3600, 8460}, {21, 5750, 8460}, {22, 4545, 5085}, {23, 4680, 5850}, {24, 4365, 6570},
        {25, 3600, 7065}, {26, 2925, 6570}, {27, 2610, 5850}, {28, 2745, 5085},
    };
    const ChapterRoom room;
    for (const Row& row : kPoints) {
        SCOPED_TRACE(row.index);
        EXPECT_EQ(room.point(row.index).x, row.x);
        EXPECT_EQ(room.point(row.index).y, row.y);
    }
    EXPECT_EQ(letterPointIndex('T'), 19);
    EXPECT_EQ(lightPointIndex('4'), 25);
}

TEST(ChapterRoomTables, FindofficerComparesKeysExactly) {
    struct Row {
        const char* name;
        int expected;
    };
    constexpr Row kRows[] = {
        {"MAR", 0}, {"CH", 1},    {"SD", 21},    {"SEN", 15}, {"SCR", 19}, {"TR", 18},
        {"1P", 2},  {"Mar", -1},  {"Sen", -1},   {"ALL", -1}, {"", -1},    {"MC ", -1},
        {"M", -1},  {"MARX", -1}, {"CH+JC", -1}, {" MC", -1}, {"mc", -1},
    };
    const ChapterRoom room;
    for (const Row& row : kRows) {
        EXPECT_EQ(room.findofficer(row.name), row.expected) << '"' << row.name << '"';
    }
}

TEST(WalkingBand, BandPointAndReturnOrderOfEveryOfficer) {
    const ChapterRoom room;
    for (const OfficerRow& row : kOfficers) {
        SCOPED_TRACE(row.abbreviation);
        const BandPoint z = bandPoint(room, row.index);
        EXPECT_EQ(z.group, row.group);
        EXPECT_EQ(z.x, row.zx);
        EXPECT_EQ(z.y, row.zy);
        EXPECT_EQ(returnsAlongXFirst(room, row.index), row.group <= 3);
    }
}

}  // namespace
}  // namespace velistrad
