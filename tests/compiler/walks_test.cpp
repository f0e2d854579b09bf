// Straight, diagonal, lettered and band walks: exact frames at 20 twips per
// frame, and diagonal walks that must end where a step stops moving a single.
#include "compiler_fixture.h"

namespace velistrad::testing {
namespace {

using WalkTest = CompilerTest;

TEST_F(WalkTest, MoveabsFrames) {
    const Rows<float, float, int, bool, const char*> kRows = {
        {100, 500, 150, false, "0,120,500|0,140,500|0,150,500|"},
        {100, 500, 120, false, "0,120,500|"},
        {100, 500, 121, false, "0,120,500|0,121,500|"},
        {100, 500, 100, false, "0,100,500|"},
        {150, 500, 100, false, "0,130,500|0,110,500|0,100,500|"},
        {1800, 1834.5f, 1900, true, "0,1800,1854.5|0,1800,1874.5|0,1800,1894.5|0,1800,1900|"},
    };
    for (const auto& [x, y, dest, vert, path] : kRows) {
        put(0, x, y);
        mc.takePath();
        mc.moveabs(0, dest, vert);
        EXPECT_EQ(pathText(mc.path()), path) << x << "," << y << " -> " << dest;
        EXPECT_TRUE(pathText(mc.path()).ends_with(at(0) + "|"));
    }
}

// The frame count and how the path ends. The last three rows start far off
// the floor or a hair beside the destination, where a step may no longer
// change the stored single: the walk must still end.
TEST_F(WalkTest, MovediagFrames) {
    const Rows<float, float, int, int, std::size_t, const char*> kRows = {
        {1500, 4590, 1560, 4670, 5, "0,1512,4606|0,1524,4622|0,1536,4638|0,1548,4654|0,1560,4670|"},
        {1560, 4670, 1500, 4590, 5, "0,1548,4654|0,1536,4638|0,1524,4622|0,1512,4606|0,1500,4590|"},
        {1500, 4590, 1560, 4590, 3, "0,1520,4590|0,1540,4590|0,1560,4590|"},
        {1500, 4590, 1500, 4590, 0, ""},
        {0, 0, 120, 35, 7,
         "0,19.2,5.6|0,38.4,11.2|0,57.6,16.8|0,76.8,22.4|0,96,28|0,115.2,33.6|0,120,35|"},
        {1000.25f, 2000, 1100, 2050, 6,
         "0,1018.13,2008.962|0,1036.009,2017.924|0,1053.889,2026.886|0,1071.768,2035.849|"
         "0,1089.648,2044.811|0,1100,2050|"},
        {1500.001f, 0, 1500, 9000, 450, "0,1500.001,8980|0,1500,9000|"},
        {1500, 4590.0005f, 10500, 4590, 450, "0,10480,4590|0,10500,4590|"},
        {0, 3e7f, 2000, 30000010, 101, "0,2000,30000010|"},
    };
    for (const auto& [x, y, tx, ty, count, tail] : kRows) {
        SCOPED_TRACE(::testing::Message() << x << "," << y << " -> " << tx);
        put(0, x, y);
        mc.takePath();
        mc.movediag(0, tx, ty);
        EXPECT_EQ(frames(pathText(mc.path())), count);
        EXPECT_TRUE(pathText(mc.path()).ends_with(tail)) << pathText(mc.path()).substr(0, 200);
        EXPECT_EQ(room.officer(0).curX, static_cast<float>(tx));
        EXPECT_EQ(room.officer(0).curY, static_cast<float>(ty));
    }
}

// Point U is (3600, 8460): one walk only when an axis is shared exactly.
TEST_F(WalkTest, LetteredStep) {
    const Rows<float, float, const char*> kRows = {
        {3600, 8500, "9,3600,8480|9,3600,8460|"},
        {3560, 8460, "9,3580,8460|9,3600,8460|"},
        {3560, 8500, "9,3580,8500|9,3600,8500|9,3600,8480|9,3600,8460|"},
        {3600.5f, 8460.5f, "9,3600,8460.5|9,3600,8460|"},
    };
    for (const auto& [x, y, path] : kRows) {
        put(9, x, y);
        EXPECT_EQ(run("MC", "U"), path) << x << "," << y;
        EXPECT_EQ(at(9), "9,3600,8460");
    }
}

// Zero-length legs still write a frame, which shows the order of the legs:
// x then y to the band, and back in the order of the officer's group.
TEST_F(WalkTest, BandWalks) {
    const Rows<const char*, const char*, std::size_t, const char*, const char*> kRows = {
        {"MAR", "Z", 31, "0,1800,9045|", "0,1800,8465|0,1800,8460|"},
        {"MAR", "ZZ", 33, "0,1800,9045|", "0,1800,8460|0,1800,8460|"},
        {"MC", "Z", 73, "9,3600,9900|", "9,3600,8480|9,3600,8460|"},
        {"5P", "Z", 27, "6,6235,2745|", "6,5750,2745|6,5750,2745|"},
        {"SEN", "Z", 28, "15,2005,135|", "15,1500,135|15,1500,135|"},
        {"5P", "ZX", 54, "6,6235,2745|", "6,6250,2745|6,6255,2745|"},
        {"MC", "ZX", 146, "9,3600,9900|", "9,3600,9880|9,3600,9900|"},
    };
    for (const auto& [officer, steps, count, first, tail] : kRows) {
        SCOPED_TRACE(std::string(officer) + " " + steps);
        room.resetToStations();
        const std::string path = run(officer, steps);
        EXPECT_EQ(frames(path), count);
        EXPECT_TRUE(path.starts_with(first) && path.ends_with(tail)) << path;
        EXPECT_TRUE(path.ends_with(at(room.findofficer(officer)) + "|"));
    }
}

}  // namespace
}  // namespace velistrad::testing
