// moveofficer, movestep and relocate: which steps go where, the path string
// they leave, and the messages that stop an entry (or do not).
#include <string>
#include <vector>

#include "compiler_fixture.h"

namespace velistrad::testing {
namespace {

using DirectionTest = CompilerTest;

struct EntryRow {
    const char* officer;
    const char* direc;
    const char* path;
    std::vector<std::string> messages;
    bool simerror;
};

TEST_F(DirectionTest, EntriesAndTheirErrors) {
    const std::vector<EntryRow> kRows = {
        {"MC", "", "", {"Bad direction: "}, true},
        {"XX", "J", "", {"Unknown officer: XX"}, true},
        {"Mar", "X", "", {"Unknown officer: Mar"}, true},
        {"ALL", "XZ", "", {"Unknown officer: ALL"}, true},
        {"CH+JC", "XZ", "", {"Unknown officer: CH+JC"}, true},
        {"MC", "X1", "9,3600,9900|9,3600,9900|", {"Unknown direction: 1"}, true},
        {"MC", "XW", "9,3600,9900|9,3600,9900|", {"Unknown direction: W"}, true},
        {"MC", "Xu", "9,3600,9900|9,3600,9900|", {"Unknown direction: u"}, true},
        {"MC", "X1J", "9,3600,9900|9,3600,9900|", {"Unknown direction: 1"}, true},
        {"MC", "X-S-CH", "9,3600,9900|9,3600,9900|", {"Bad direction: X-S-CH"}, true},
        {"MC", "X-S", "9,3600,9900|9,3600,9900|", {"Bad direction: X-S"}, true},
        {"MC", "-", "", {"Bad direction: -"}, true},
        {"MC", "-AT-X", "", {"Bad direction: -AT-X"}, false},
        {"MC", "-AT", "", {"Bad direction: -AT"}, false},
        {"ALL", "-AT-", "", {"Bad direction: -AT-"}, false},
        {"MC", "-AT-R-", "9,3600,7875,", {}, false},
        {"MC", "-AT-R-XYZ1-", "9,3600,7875,", {}, false},
        {"CH+XX+JC", "-AT-R-", "1,3600,7875,11,3600,7875,", {}, false},
        {"+CH++JC+", "-AT-R-", "1,3600,7875,11,3600,7875,", {}, false},
        {"ALL+CH", "-AT-R-", "1,3600,7875,", {}, false},
        {"XX", "-AT-R-", "", {}, false},
        {"MC", "-AT_W-C-", "9,1500,1230,", {}, false},
        {"MC", "X-FOO-U-", "9,3600,9900|9,3600,9900|", {}, false},
    };
    for (const EntryRow& row : kRows) {
        SCOPED_TRACE(std::string(row.officer) + " / " + row.direc);
        room.resetToStations();
        reporter.messages.clear();
        mc.simerror = false;
        EXPECT_EQ(run(row.officer, row.direc), row.path);
        EXPECT_EQ(reporter.messages, row.messages);
        EXPECT_EQ(mc.simerror, row.simerror);
    }
}

TEST_F(DirectionTest, EachEntryStartsWithAnEmptyPath) {
    run("MC", "X");
    EXPECT_EQ(run("MC", "-FOO-U-"), "");
    run("MC", "X");
    EXPECT_EQ(run("ZZ", "X"), "");
}

TEST_F(DirectionTest, LetteredStepTakesOneWalkOnlyOnAnExactlySharedAxis) {
    struct Row {
        float x, y;
        const char* path;
    };
    // Point U is (3600, 8460).
    const Row kRows[] = {
        {3600, 8500, "9,3600,8480|9,3600,8460|"},
        {3560, 8460, "9,3580,8460|9,3600,8460|"},
        {3560, 8500, "9,3580,8500|9,3600,8500|9,3600,8480|9,3600,8460|"},
        {3600, 8460, "9,3600,8460|"},
        {3600.5f, 8460, "9,3600,8460|"},
        {3600.5f, 8460.5f, "9,3600,8460.5|9,3600,8460|"},
        {3599.75f, 8500, "9,3600,8500|9,3600,8480|9,3600,8460|"},
        {3640, 8459.5f, "9,3620,8459.5|9,3600,8459.5|9,3600,8460|"},
    };
    for (const Row& row : kRows) {
        put(9, row.x, row.y);
        EXPECT_EQ(run("MC", "U"), row.path) << row.x << "," << row.y;
        expectAt(9, 3600, 8460);
    }
}

TEST_F(DirectionTest, SpecialStepThenLetterAndTwoSpecialStepsInARow) {
    put(0, 5750, 4250);
    const auto r = records(run("MAR", "-W-K-K"));
    ASSERT_EQ(r.size(), 18u);
    EXPECT_EQ(r[0], "0,5750,4270|");
    EXPECT_EQ(r[1], "0,5750,4290|");
    EXPECT_EQ(r[2], "0,5750,4290|");  // the x leg of the next-to walk, zero length
    EXPECT_EQ(r[3], "0,5750,4310|");
    EXPECT_EQ(r[17], "0,5750,4590|");

    room.resetToStations();
    run("MAR", "-DIAG_SW-J--DIAG_S-J-");
    expectAt(0, 3300, 4590);
    run("MAR", "-DIAG_E-F+E+600-A");
    expectAt(0, 1500, 270);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(DirectionTest, AllAtStationsIsOneFrameOfPlacements) {
    put(5, 0, 0);
    put(21, -17.5f, 3e7f);
    const std::string path = run("ALL", "-AT-X-");
    std::string expected;
    for (int k = 0; k < kOfficerCount; ++k) {
        const Officer& o = room.officer(k);
        expected += std::to_string(k) + "," + std::to_string(o.stationX) + "," +
                    std::to_string(o.stationY) + ",";
        EXPECT_TRUE(o.atStation()) << k;
    }
    EXPECT_EQ(path, expected);

    const auto atR = records(run("ALL", "-AT-R-"));
    ASSERT_EQ(atR.size(), 22u);
    for (int k = 0; k < kOfficerCount; ++k) {
        EXPECT_EQ(atR[static_cast<std::size_t>(k)], std::to_string(k) + ",3600,7875,");
    }
}

TEST_F(DirectionTest, ErrorsAfterStepsKeepTheirPositions) {
    put(9, 3600, 8500);
    run("MC", "U1");
    expectAt(9, 3600, 8460);
    EXPECT_TRUE(mc.simerror);
}

}  // namespace
}  // namespace velistrad::testing
