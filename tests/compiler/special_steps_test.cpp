// Special steps: where each keyword and target form takes the officer, the
// offset numbers, the messages and whether they stop the run.
#include <string>
#include <vector>

#include "compiler_fixture.h"

namespace velistrad::testing {
namespace {

using SpecialStepTest = CompilerTest;

struct StepRow {
    const char* officer;
    const char* direc;
    float endX, endY;  // of the directed officer
    std::vector<std::string> messages;
    bool simerror;
};

TEST_F(SpecialStepTest, WhereEachFormEnds) {
    const std::vector<StepRow> kRows = {
        {"MAR", "-E-U-", 3600, 8760, {}, false},
        {"MAR", "-NW-J-", 3900, 4290, {}, false},
        {"MAR", "-S-1-", 4245, 5085, {}, false},
        {"MAR", "-E-MAR-", 1800, 9345, {}, false},
        {"MAR", "-SE-MC-", 3300, 10200, {}, false},
        {"MAR", "-DIAG-J-", 3600, 4590, {}, false},
        {"MAR", "-DIAG_N-J+N+200-", 4100, 4590, {}, false},
        {"MAR", "-DIAG_NE-3-", 4665, 6870, {}, false},
        {"MC", "-DIAG_S-MC+E+100-", 3300, 10000, {}, false},
        {"MAR", "-DIAG_W-SD+SE+50-", 4900, 8795, {}, false},
        {"SB", "-AT_E-G+E+700-", 3600, 3340, {}, false},
        {"JD", "-AT_N-JD+N+100-", 2470, 405, {}, false},
        {"MAR", "-AT-4-", 3600, 7065, {}, false},
        {"MAR", "-AT_SW-1-", 4245, 4785, {}, false},
        {"MAR", "-AT_N-U+Q+10-", 3910, 8450, {}, false},
        {"JS", "-AT-Z-", 4275, 2340, {}, false},
        {"MAR", "-FOO-U-", 1800, 9045, {}, false},
        {"MAR", "-ATX-U-", 1800, 9045, {}, false},
        {"MAR", "-N-XX-", 1800, 9045, {"Unknown officer: XX"}, true},
        {"MAR", "-N-W-", 1800, 9045, {"Unknown officer: W"}, true},
        {"MAR", "-E-J+N+100-", 1800, 9045, {"Unknown officer: J+N+100"}, true},
        {"MAR", "-DIAG_N-XX-", 1800, 9045, {"Unknown officer: XX"}, true},
        {"MAR", "-DIAG_N-Q9+N-", 1800, 9045, {"Unknown officer: Q9"}, true},
        {"MAR", "-DIAG_N-9+N-", 1800, 9045, {"Unknown offset: 9+N"}, true},
        {"MAR", "-DIAG_N-MC+N-", 1800, 9045, {"Unknown offset: MC+N"}, true},
        {"MAR", "-DIAG_N-9+N+5-", 1800, 9045, {"Unknown point: 9"}, true},
        {"MAR", "-AT_N-W+N+5-", 1800, 9045, {"Unknown point: W"}, true},
        {"MAR", "-DIAG_N-+N+5-", 1800, 9045, {"Unknown point: "}, true},
        {"MAR", "-DIAG-MC-", 1800, 9045, {"Unknown location: MC"}, true},
        {"MC", "-AT-MC-", 3600, 9900, {"Unknown location: MC"}, false},
        {"MAR", "-AT-8-", 1800, 9045, {"Unknown location: 8"}, false},
        {"MAR", "-DIAG-MC--E-U-", 3600, 8760, {"Unknown location: MC"}, true},
    };
    for (const StepRow& row : kRows) {
        SCOPED_TRACE(std::string(row.officer) + " " + row.direc);
        room.resetToStations();
        reporter.messages.clear();
        mc.simerror = false;
        const std::string path = run(row.officer, row.direc);
        const int who = room.findofficer(row.officer);
        expectAt(who, row.endX, row.endY);
        EXPECT_EQ(reporter.messages, row.messages);
        EXPECT_EQ(mc.simerror, row.simerror);
        if (room.officer(who).atStation()) {
            EXPECT_EQ(path, "") << "a step that goes nowhere writes nothing";
        }
    }
}

TEST_F(SpecialStepTest, ExactRecords) {
    struct Row {
        const char* officer;
        const char* direc;
        const char* path;
    };
    const Row kRows[] = {
        {"SB", "-AT_E-G+E+700-", "20,3600,3340,"}, {"JS", "-AT-Z-", "12,4275,2340,"},
        {"JD", "-AT_N-JD+N+100-", "14,2470,405,"}, {"JD", "-AT_S-1-XZ", "14,4245,5085,"},
        {"MAR", "-AT-R-J", "0,3600,7875,"},
    };
    for (const Row& row : kRows) {
        room.resetToStations();
        EXPECT_EQ(run(row.officer, row.direc), row.path) << row.direc;
    }
    // Inside a Direction a placement joins the frame of the next walk record.
    room.resetToStations();
    EXPECT_EQ(run("MAR", "X-AT-R-J").substr(0, 48),
              "0,1800,9045|0,1800,9045|0,3600,7875,0,3600,7855|");
}

TEST_F(SpecialStepTest, NextToWalksGoWestEastFirst) {
    const auto r = records(run("MAR", "-E-U-"));
    ASSERT_EQ(r.size(), 105u);
    EXPECT_EQ(r[0], "0,1800,9025|");
    EXPECT_EQ(r[14], "0,1800,8760|");
    EXPECT_EQ(r[15], "0,1820,8760|");
    EXPECT_EQ(r[104], "0,3600,8760|");
}

TEST_F(SpecialStepTest, SpellingsThatMeanTheSameStep) {
    const char* kPairs[][2] = {
        {"--U-", "-NW-U-"},
        {"-DIAG_XX-U-", "-DIAG_NW-U-"},
        {"-AT_Q-U-", "-AT_NW-U-"},
        {"-AT_N-U+NN+10-", "-AT_N-U+NW+10-"},
        {"-DIAG_N-J+N+0-", "-DIAG_N-J-"},
    };
    for (const auto& pair : kPairs) {
        room.resetToStations();
        const std::string a = run("MAR", pair[0]);
        room.resetToStations();
        EXPECT_EQ(a, run("MAR", pair[1])) << pair[0] << " vs " << pair[1];
    }
}

TEST_F(SpecialStepTest, OffsetNumbers) {
    struct Row {
        const char* number;
        const char* path;  // empty: the step does nothing, silently
    };
    // J is (3600, 4590); AT_N adds 300 on x before the offset.
    const Row kRows[] = {
        {"150.5", "0,4050,4590,"},
        {"151.5", "0,4052,4590,"},
        {"", "0,3900,4590,"},
        {"-100", "0,3800,4590,"},
        {"200+5", "0,4100,4590,"},
        {"ABC", "0,3900,4590,"},
        {"0.5", "0,3900,4590,"},
        {"1.5", "0,3902,4590,"},
        {"32767", "0,36667,4590,"},
        {"32767.4", "0,36667,4590,"},
        {"-32768", "0,-28868,4590,"},
        {"-32768.5", "0,-28868,4590,"},
        {"32768", ""},
        {"-32769", ""},
        {"32767.5", ""},
        {"-32768.51", ""},
        {"99999999999999999999", ""},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.number);
        room.resetToStations();
        reporter.messages.clear();
        mc.simerror = false;
        // Called directly: inside a Direction a "-" would close the step.
        mc.takePath();
        mc.movespecial(0, "AT_N", std::string("J+N+") + row.number);
        EXPECT_EQ(mc.path(), row.path);
        EXPECT_TRUE(reporter.messages.empty());
        EXPECT_FALSE(mc.simerror);
        if (*row.path == '\0') expectAt(0, 1800, 9045);
    }
}

TEST_F(SpecialStepTest, OfficerTargetsWithFractions) {
    struct Row {
        float mcX, mcY;
        const char* direc;
        const char* last;  // last record of MAR's path
    };
    const Row kRows[] = {
        {3600, 4590.5f, "-E-MC-", "0,3600,4890|"},
        {3600, 4591.5f, "-E-MC-", "0,3600,4892|"},
        {3600.5f, 4591.5f, "-DIAG_E-MC-", "0,3600,4892|"},
        {3601.5f, 4590.5f, "-DIAG_S-MC+N+1-", "0,3302,4590|"},
        {3600.25f, 4590.5f, "-AT_E-MC-", "0,3600.25,4890.5,"},
        {3600.25f, 4590.5f, "-AT_E-MC+N+1-", "0,3601.25,4890.5,"},
    };
    for (const Row& row : kRows) {
        room.resetToStations();
        put(9, row.mcX, row.mcY);
        const auto r = records(run("MAR", row.direc));
        ASSERT_FALSE(r.empty()) << row.direc;
        EXPECT_EQ(r.back(), row.last) << row.direc;
    }
}

TEST_F(SpecialStepTest, RelocatingEveryoneNextToOneOfThemFollowsHisNewPosition) {
    const auto r = records(run("ALL", "-AT_E-MC-"));
    ASSERT_EQ(r.size(), 22u);
    EXPECT_EQ(r[0], "0,3600,10200,");
    EXPECT_EQ(r[8], "8,3600,10200,");
    EXPECT_EQ(r[9], "9,3600,10200,");
    EXPECT_EQ(r[10], "10,3600,10500,");
    EXPECT_EQ(r[21], "21,3600,10500,");

    room.resetToStations();
    run("ALL", "-AT_E-XX-");
    EXPECT_EQ(reporter.messages, std::vector<std::string>(22, "Unknown officer: XX"));
    EXPECT_TRUE(mc.simerror);
}

TEST(CompassOffsets, SpacingAndScaledOffsets) {
    struct Row {
        const char* word;
        int v, h;  // signs of the y and x components
    };
    constexpr Row kRows[] = {
        {"N", 0, 1},   {"S", 0, -1},   {"E", 1, 0}, {"W", -1, 0},  {"NE", 1, 1},  {"NW", -1, 1},
        {"SE", 1, -1}, {"SW", -1, -1}, {"", -1, 1}, {"XX", -1, 1}, {"NN", -1, 1}, {"n", -1, 1},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.word);
        EXPECT_EQ(offset_v(row.word), 300 * row.v);
        EXPECT_EQ(offset_h(row.word), 300 * row.h);
        EXPECT_EQ(offset_vx(row.word, 7), 7 * row.v);
        EXPECT_EQ(offset_hx(row.word, 7), 7 * row.h);
        EXPECT_EQ(offset_hx(row.word, -7), -7 * row.h);
    }
}

}  // namespace
}  // namespace velistrad::testing
