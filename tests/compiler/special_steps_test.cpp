// Special steps: where each keyword and target form takes the officer, offset
// numbers, and relocation of everyone relative to one of them.
#include "compiler_fixture.h"

namespace velistrad::testing {
namespace {

using SpecialStepTest = CompilerTest;

// The frames written, how the path starts and how it ends.
TEST_F(SpecialStepTest, WhereEachFormEnds) {
    const Rows<const char*, const char*, std::size_t, const char*, const char*> kRows = {
        {"MAR", "-E-U-", 105, "0,1800,9025|", "0,3600,8760|"},  // along y first
        {"MAR", "--J-", 343, "0,1800,9025|", "0,3900,4290|"},   // as NW
        {"MAR", "-E-MAR-", 16, "0,1800,9065|", "0,1800,9345|"},
        {"MAR", "-SE-MC-", 133, "0,1800,9065|", "0,3300,10200|"},
        {"MAR", "-DIAG-J-", 241, "0,1807.492,9026.456|", "0,3600,4590|"},
        {"MAR", "-DIAG_N-J+N+200-", 251, "0,1809.175,9027.229|", "0,4100,4590|"},
        {"MC", "-DIAG_S-MC+E+100-", 16, "9,3581.026,9906.324|", "9,3300,10000|"},
        {"MAR", "-DIAG_XX-U-", 114, "0,1818.43,9037.233|", "0,3900,8160|"},
        {"MAR", "-DIAG_SW-J--DIAG_S-J-", 265, "0,1806.017,9025.927|", "0,3300,4590|"},
        {"MAR", "-DIAG_E-F+E+600-A", 440, "0,1798.968,9025.026|", "0,1500,270|"},
        {"SB", "-AT_E-G+E+700-", 0, "", "20,3600,3340,"},
        {"MAR", "-AT-4-", 0, "", "0,3600,7065,"},
        {"MAR", "-AT_N-U+Q+10-", 0, "", "0,3910,8450,"},
        {"JS", "-AT-Z-", 0, "", "12,4275,2340,"},
        {"MC", "-AT_W-C-", 0, "", "9,1500,1230,"},
        {"MAR", "X-AT-R--AT-X-", 2, "", "0,1800,9045|0,1800,9045|0,3600,7875,0,1800,9045,"},
        {"MAR", "-ATX-U-", 0, "", ""},
    };
    for (const auto& [officer, direc, count, first, tail] : kRows) {
        SCOPED_TRACE(std::string(officer) + " " + direc);
        reset();
        const std::string path = run(officer, direc);
        EXPECT_TRUE(reporter.messages.empty());
        EXPECT_EQ(frames(path), count);
        EXPECT_TRUE(path.starts_with(first) && path.ends_with(tail)) << path;
        const std::string now = at(room.findofficer(officer));  // the last record's place
        EXPECT_TRUE(path.empty() || path.ends_with(now + path.back())) << now;
    }
}

// Officer targets are rounded half to even; placements keep the fraction.
TEST_F(SpecialStepTest, OfficerTargetsWithFractions) {
    const Rows<float, float, const char*, const char*> kRows = {
        {3600, 4590.5f, "-E-MC-", "0,3600,4890|"},
        {3600, 4591.5f, "-E-MC-", "0,3600,4892|"},
        {3601.5f, 4590.5f, "-DIAG_S-MC+N+1-", "0,3302,4590|"},
        {3600.25f, 4590.5f, "-AT_E-MC+N+1-", "0,3601.25,4890.5,"},
    };
    for (const auto& [mcX, mcY, direc, tail] : kRows) {
        reset();
        put(9, mcX, mcY);
        EXPECT_TRUE(run("MAR", direc).ends_with(tail)) << direc;
    }
}

// J is (3600, 4590); AT_N adds 300 on x before the offset. An offset that does
// not fit 16 bits once rounded makes the step do nothing, silently.
TEST_F(SpecialStepTest, OffsetNumbers) {
    const Rows<const char*, const char*> kRows = {
        {"150.5", "0,4050,4590,"},
        {"151.5", "0,4052,4590,"},
        {"0.5", "0,3900,4590,"},
        {"", "0,3900,4590,"},
        {"200+5", "0,4100,4590,"},
        {"1E-999", "0,3900,4590,"},
        {"32767", "0,36667,4590,"},
        {"-32768.5", "0,-28868,4590,"},
        {"32768", ""},
        {"32767.5", ""},
        {"-32768.51", ""},
        {"1E999", ""},
        {"-1E999", ""},
        {"99999999999999999999", ""},
    };
    for (const auto& [number, path] : kRows) {
        SCOPED_TRACE(number);
        reset();
        mc.takePath();  // called directly: inside a Direction a "-" would close the step
        mc.movespecial(0, "AT_N", std::string("J+N+") + number);
        EXPECT_EQ(pathText(mc.path()), path);
        EXPECT_TRUE(reporter.messages.empty());
        EXPECT_FALSE(mc.simerror());
        EXPECT_EQ(at(0) + ",", *path ? path : "0,1800,9045,");
    }
}

TEST_F(SpecialStepTest, RelocatingAllFollowsTheTargetsNewPosition) {
    const std::string path = run("ALL", "-AT_E-MC-");
    EXPECT_TRUE(path.starts_with("0,3600,10200,")) << path;
    EXPECT_NE(path.find(",8,3600,10200,9,3600,10200,10,3600,10500,"), std::string::npos);
    EXPECT_TRUE(path.ends_with(",21,3600,10500,")) << path;
    run("ALL", "-AT_E-XX-");
    EXPECT_EQ(reporter.messages, std::vector<std::string>(22, "Unknown officer: XX"));
    EXPECT_TRUE(mc.simerror());
}

}  // namespace
}  // namespace velistrad::testing
