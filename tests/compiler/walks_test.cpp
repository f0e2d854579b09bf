// Straight, diagonal and band walks: the exact frames at 20 twips per frame,
// and diagonal walks that must end where a step stops changing a single.
#include "compiler_fixture.h"

namespace velistrad::testing {
namespace {

using WalkTest = CompilerTest;

TEST_F(WalkTest, MoveabsFrames) {
    struct Row {
        float x, y;
        std::int32_t dest;
        bool vert;
        const char* path;
    };
    const Row kRows[] = {
        {100, 500, 150, false, "0,120,500|0,140,500|0,150,500|"},
        {100, 500, 120, false, "0,120,500|"},
        {100, 500, 121, false, "0,120,500|0,121,500|"},
        {100, 500, 100, false, "0,100,500|"},
        {150, 500, 100, false, "0,130,500|0,110,500|0,100,500|"},
        {100, 500, 80, false, "0,80,500|"},
        {100, 500, 79, false, "0,80,500|0,79,500|"},
        {1800, 1834.5f, 1900, true, "0,1800,1854.5|0,1800,1874.5|0,1800,1894.5|0,1800,1900|"},
        {1800, 1834.5f, 1800, true, "0,1800,1814.5|0,1800,1800|"},
        {0.25f, 7, -30, false, "0,-19.75,7|0,-30,7|"},
        {-10, -20.5f, -20, true, "0,-10,-20|"},
    };
    for (const Row& row : kRows) {
        put(0, row.x, row.y);
        mc.takePath();
        mc.moveabs(0, row.dest, row.vert);
        EXPECT_EQ(mc.path(), row.path) << row.x << "," << row.y << " -> " << row.dest;
        const Officer& o = room.officer(0);
        EXPECT_EQ(row.vert ? o.curY : o.curX, static_cast<float>(row.dest));
        EXPECT_EQ(row.vert ? o.curX : o.curY, row.vert ? row.x : row.y);
    }
}

TEST_F(WalkTest, MovediagFrames) {
    struct Row {
        float x, y;
        std::int32_t tx, ty;
        const char* path;
    };
    const Row kRows[] = {
        {1500, 4590, 1560, 4670, "0,1512,4606|0,1524,4622|0,1536,4638|0,1548,4654|0,1560,4670|"},
        {1500, 4590, 1560, 4590, "0,1520,4590|0,1540,4590|0,1560,4590|"},
        {1560, 4670, 1500, 4590, "0,1548,4654|0,1536,4638|0,1524,4622|0,1512,4606|0,1500,4590|"},
        {1500, 4590, 1500, 4650, "0,1500,4610|0,1500,4630|0,1500,4650|"},
        {1500, 4590, 1500, 4591, "0,1500,4591|"},
        {1500, 4590, 1500, 4590, ""},
        {0, 0, 120, 35,
         "0,19.2,5.6|0,38.4,11.2|0,57.6,16.8|0,76.8,22.4|0,96,28|0,115.2,33.6|0,120,35|"},
        {1000.25f, 2000, 1100, 2050,
         "0,1018.13,2008.962|0,1036.009,2017.924|0,1053.889,2026.886|0,1071.768,2035.849|"
         "0,1089.648,2044.811|0,1100,2050|"},
    };
    for (const Row& row : kRows) {
        put(0, row.x, row.y);
        mc.takePath();
        mc.movediag(0, row.tx, row.ty);
        EXPECT_EQ(mc.path(), row.path)
            << row.x << "," << row.y << " -> " << row.tx << "," << row.ty;
        expectAt(0, static_cast<float>(row.tx), static_cast<float>(row.ty));
    }
}

// Where a step is below half the spacing of singles at the current value,
// the stored coordinate stops changing; the walk must still end, with the
// frames written until then and the final frame on the destination.
TEST_F(WalkTest, MovediagEndsWhereAStepNoLongerMovesTheSingle) {
    struct Row {
        const char* why;
        float x, y;
        std::int32_t tx, ty;
        std::size_t frames;
        const char* first;
        const char* beforeLast;
        const char* last;
    };
    const Row kRows[] = {
        {"x a hair beside the destination", 1500.001f, 0, 1500, 9000, 450, "0,1500.001,20|",
         "0,1500.001,8980|", "0,1500,9000|"},
        {"y a hair beside the destination", 1500, 4590.0005f, 10500, 4590, 450, "0,1520,4590|",
         "0,10480,4590|", "0,10500,4590|"},
        {"far East, a small rise in y", 0, 3e7f, 2000, 30000010, 101, "0,19.99975,", "0,1999.975,",
         "0,2000,30000010|"},
        {"far North, a small rise in x", 3e7f, 0, 30000010, 2000, 101, nullptr, nullptr,
         "0,30000010,2000|"},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.why);
        put(0, row.x, row.y);
        mc.takePath();
        mc.movediag(0, row.tx, row.ty);
        const auto r = records(mc.path());
        ASSERT_EQ(r.size(), row.frames);
        if (row.first) {
            EXPECT_EQ(r.front().substr(0, std::string(row.first).size()), row.first);
        }
        if (row.beforeLast) {
            EXPECT_EQ(r[r.size() - 2].substr(0, std::string(row.beforeLast).size()),
                      row.beforeLast);
        }
        EXPECT_EQ(r.back(), row.last);
        expectAt(0, static_cast<float>(row.tx), static_cast<float>(row.ty));
    }
}

TEST_F(WalkTest, BandWalks) {
    struct Row {
        int officer;
        const char* steps;
        std::size_t frames;
        const char* first;
        const char* last;
        float endX, endY;
    };
    const Row kRows[] = {
        {9, "Z", 73, "9,3600,9900|", "9,3600,8460|", 3600, 8460},
        {6, "Z", 27, "6,6235,2745|", "6,5750,2745|", 5750, 2745},
        {15, "Z", 28, "15,2005,135|", "15,1500,135|", 1500, 135},
        {19, "Z", 76, "19,1395,9945|", "19,1395,8460|", 1395, 8460},
        {18, "Z", 76, "18,1440,9945|", "18,1440,8460|", 1440, 8460},
        {2, "Z", 27, "2,1010,7650|", "2,1500,7650|", 1500, 7650},
        {0, "Z", 31, "0,1800,9045|", "0,1800,8460|", 1800, 8460},
        {0, "ZZ", 33, "0,1800,9045|", "0,1800,8460|", 1800, 8460},
        {6, "ZX", 54, "6,6235,2745|", "6,6255,2745|", 6255, 2745},
        {9, "ZX", 146, "9,3600,9900|", "9,3600,9900|", 3600, 9900},
        {9, "XZ", 75, "9,3600,9900|", "9,3600,8460|", 3600, 8460},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(std::string(room.officer(row.officer).key) + " " + row.steps);
        room.resetToStations();
        const auto r = records(run(room.officer(row.officer).key, row.steps));
        ASSERT_EQ(r.size(), row.frames);
        EXPECT_EQ(r.front(), row.first);
        EXPECT_EQ(r.back(), row.last);
        expectAt(row.officer, row.endX, row.endY);
    }
}

TEST_F(WalkTest, PlacedAtBandPointOrStation) {
    mc.movez(12, true);
    EXPECT_EQ(mc.path(), "12,4275,2340,");
    expectAt(12, 4275, 2340);
    mc.movex(12, true);
    EXPECT_EQ(mc.path(), "12,4275,2340,12,4275,1980,");
    EXPECT_TRUE(room.officer(12).atStation());
}

}  // namespace
}  // namespace velistrad::testing
