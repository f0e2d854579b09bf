// Whatever a Direction or officer field holds, compiling it ends, reports
// through the reporter and never crashes: every byte, very long fields,
// absurd numbers and positions far off the floor.
#include <string>
#include <vector>

#include "compiler_fixture.h"

namespace velistrad::testing {
namespace {

using RobustnessTest = CompilerTest;

bool isStep(char c) {
    return (c >= 'A' && c <= 'V') || c == 'X' || c == 'Z';
}

TEST_F(RobustnessTest, EveryByteAloneAndEmbedded) {
    const std::string justJ = run("MC", "J");
    for (int code = 1; code <= 255; ++code) {
        const char c = static_cast<char>(code);
        SCOPED_TRACE(code);
        for (const std::string& direc : {std::string(1, c), "J" + std::string(1, c) + "K"}) {
            room.resetToStations();
            reporter.messages.clear();
            mc.simerror = false;
            const std::string path = run("MC", direc);
            if (isStep(c)) {
                EXPECT_TRUE(reporter.messages.empty());
                EXPECT_FALSE(mc.simerror);
                ASSERT_FALSE(path.empty());
                EXPECT_EQ(path.back(), '|');
                continue;
            }
            const std::string expected =
                c == '-' ? "Bad direction: " + direc : "Unknown direction: " + std::string(1, c);
            EXPECT_EQ(reporter.messages, std::vector<std::string>{expected});
            EXPECT_TRUE(mc.simerror);
            EXPECT_EQ(path, direc.size() == 1 ? "" : justJ);
        }
        // A stray byte in an officer list only drops that name.
        room.resetToStations();
        reporter.messages.clear();
        EXPECT_EQ(run("CH+" + std::string(1, c) + "+JC", "-AT-R-"), "1,3600,7875,11,3600,7875,");
        EXPECT_TRUE(reporter.messages.empty());
    }
}

TEST_F(RobustnessTest, TenThousandCharacters) {
    const auto steps = records(run("MC", std::string(10000, 'J')));
    EXPECT_EQ(steps.size(), 266u + 9999u);  // one walk to J, then standing frames
    EXPECT_EQ(steps.back(), "9,3600,4590|");

    reporter.messages.clear();
    EXPECT_EQ(run("MC", std::string(10000, '-')), "");
    ASSERT_EQ(reporter.messages.size(), 3334u);
    EXPECT_EQ(reporter.messages[0], "Unknown officer: ");
    EXPECT_EQ(reporter.messages.back(), "Bad direction: " + std::string(10000, '-'));

    std::string bytes = "-AT";
    for (int i = 0; bytes.size() < 10000; ++i) bytes += static_cast<char>(1 + i % 255);
    reporter.messages.clear();
    run("ALL", bytes);
    EXPECT_LE(reporter.messages.size(), 22u);

    std::string offsets = "X";
    while (offsets.size() < 10000) offsets += "-DIAG_NE-MC+SW+99999--AT_Q-+-";
    run("MAR", offsets);
    EXPECT_TRUE(mc.simerror);
}

TEST_F(RobustnessTest, AbsurdNumbersAndTargetsDoNothing) {
    const char* kDirections[] = {"-AT_N-J+N+1E999-", "-AT_N-J+N+-1E999-", "-DIAG_N-J+N+1E30-",
                                 "-AT_N-J+N+++-",    "-AT_N-J+N+5+N+5-",  "-AT_N-MC+N+1E-999-"};
    for (const char* direc : kDirections) {
        room.resetToStations();
        run("MAR", direc);
        SUCCEED() << direc;
    }
    // Targets beyond any 32-bit coordinate: the walks toward them are skipped.
    for (const char* direc : {"-DIAG_E-MC-", "-E-MC-", "-DIAG_N-MC+N+5-"}) {
        room.resetToStations();
        put(9, 3e9f, -3e9f);
        EXPECT_EQ(run("MAR", direc), "") << direc;
        expectAt(0, 1800, 9045);
    }
    put(9, 3e9f, -3e9f);
    EXPECT_EQ(run("MAR", "-AT_E-MC-").back(), ',');
}

TEST_F(RobustnessTest, DiagonalWalkAfterChainedLargeOffsetsEnds) {
    std::string chain = "X";
    for (int i = 0; i < 1000; ++i) chain += "-AT_E-MAR+E+32767-";
    run("MAR", chain);
    const float far = room.officer(0).curY;
    ASSERT_GT(far, 3e7f);

    // One twip East on a 300-twip walk North: the y step is far below the
    // spacing of singles out there, so only the completion on x writes frames.
    const auto r = records(run("MAR", "-DIAG_N-MAR+E+1-"));
    ASSERT_EQ(r.size(), 16u);
    const std::string y = r[0].substr(r[0].rfind(',', r[0].size() - 2));
    for (std::size_t i = 0; i + 1 < r.size(); ++i) {
        EXPECT_EQ(r[i].substr(r[i].rfind(',', r[i].size() - 2)), y) << r[i];
    }
    EXPECT_EQ(r.back(), "0,2100," + std::to_string(static_cast<long long>(far) + 1) + "|");
    expectAt(0, 2100, far + 1);
}

}  // namespace
}  // namespace velistrad::testing
