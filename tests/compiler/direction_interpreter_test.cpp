// moveofficer and relocate: the path an entry leaves, the messages and whether
// they stop a run; and whatever the fields hold, compiling ends and reports.
#include "compiler_fixture.h"

namespace velistrad::testing {
namespace {

using DirectionTest = CompilerTest;

// Rows with an empty path follow rows with a path: each entry starts empty.
TEST_F(DirectionTest, PathsMessagesAndErrors) {
    const std::string x = "9,3600,9900|9,3600,9900|";  // MC's "X" at his station
    // Columns: officer, Direction, path, message ("" for none), simerror.
    const Rows<const char*, const char*, std::string, const char*, bool> kRows = {
        {"MC", "X1J", x, "Unknown direction: 1", true},
        {"MC", "", "", "Bad direction: ", true},
        {"MC", "X-S-CH", x, "Bad direction: X-S-CH", true},
        {"CH+JC", "XZ", "", "Unknown officer: CH+JC", true},
        {"MC", "X-FOO-U-", x, "", false},
        {"MC", "-AT-X", "", "Bad direction: -AT-X", false},
        {"ALL", "-AT-", "", "Bad direction: -AT-", false},
        {"MC", "-AT-MC-", "", "Unknown location: MC", false},
        {"MAR", "-DIAG-MC--AT-U-", "0,3600,8460,", "Unknown location: MC", true},
        {"MAR", "-E-J+N+100-", "", "Unknown officer: J+N+100", true},
        {"MAR", "-DIAG_N-XX-", "", "Unknown officer: XX", true},
        {"MAR", "-DIAG_N-Q9+N-", "", "Unknown officer: Q9", true},
        {"MAR", "-DIAG_N-9+N-", "", "Unknown offset: 9+N", true},
        {"MAR", "-DIAG_N-MC+N-", "", "Unknown offset: MC+N", true},
        {"MAR", "-DIAG_N-9+N+5-", "", "Unknown point: 9", true},
        {"MAR", "-DIAG_N-+N+5-", "", "Unknown point: ", true},
        {"MC", "-AT-R-J", "9,3600,7875,", "", false},  // the rest is not read
        {"CH+XX+JC", "-AT-R-", "1,3600,7875,11,3600,7875,", "", false},
        {"+CH++JC+", "-AT-R-", "1,3600,7875,11,3600,7875,", "", false},
        {"ALL+CH", "-AT-R-", "1,3600,7875,", "", false},
    };
    for (const auto& [officer, direc, path, message, simerror] : kRows) {
        SCOPED_TRACE(std::string(officer) + " / " + direc);
        reset();
        EXPECT_EQ(run(officer, direc), path);
        EXPECT_EQ(reporter.messages,
                  *message ? std::vector<std::string>{message} : std::vector<std::string>{});
        EXPECT_EQ(mc.simerror(), simerror);
    }
}

TEST_F(DirectionTest, EveryByteAloneAndEmbedded) {
    const std::string justJ = run("MC", "J");
    for (int code = 1; code <= 255; ++code) {
        const char c = static_cast<char>(code);
        SCOPED_TRACE(code);
        const bool step = (c >= 'A' && c <= 'V') || c == 'X' || c == 'Z';
        for (const std::string& direc : {std::string(1, c), "J" + std::string(1, c) + "K"}) {
            reset();
            const std::string path = run("MC", direc);
            EXPECT_EQ(mc.simerror(), !step);
            if (step) {
                EXPECT_TRUE(reporter.messages.empty());
                EXPECT_EQ(path.back(), '|');
                continue;
            }
            EXPECT_EQ(reporter.messages,
                      std::vector<std::string>{c == '-' ? "Bad direction: " + direc
                                                        : "Unknown direction: " +
                                                              visibleText(std::string(1, c))});
            EXPECT_EQ(path, direc.size() == 1 ? "" : justJ);
            EXPECT_EQ(at(9), direc.size() == 1 ? "9,3600,9900" : "9,3600,4590");
        }
        // A stray byte in an officer list only drops that name.
        reset();
        EXPECT_EQ(run("CH+" + std::string(1, c) + "+JC", "-AT-R-"), "1,3600,7875,11,3600,7875,");
        EXPECT_TRUE(reporter.messages.empty());
    }
}

// Messages show every byte: control characters and bytes that are not UTF-8
// as \xNN, well-formed UTF-8 as it is.
TEST(VisibleText, ShowsWhatWouldNotShow) {
    const Rows<std::string, std::string> kRows = {
        {std::string("A\0B", 3), "A\\x00B"},
        {"tab\there\r\n", "tab\\x09here\\x0D\\x0A"},
        {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"\xC3", "\\xC3"},                    // cut short
        {"\xC0\xAF", "\\xC0\\xAF"},           // overlong
        {"\xED\xA0\x80", "\\xED\\xA0\\x80"},  // a surrogate
        {"\x7F\xFF", "\\x7F\\xFF"},
    };
    for (const auto& [text, shown] : kRows) EXPECT_EQ(visibleText(text), shown);
}

TEST_F(DirectionTest, TenThousandCharactersAndHugeTargets) {
    const std::string steps = run("MC", std::string(10000, 'J'));
    EXPECT_EQ(frames(steps), 266u + 9999u);  // one walk to J, then standing frames
    EXPECT_TRUE(steps.ends_with("|9,3600,4590|9,3600,4590|"));

    EXPECT_EQ(run("MC", std::string(10000, '-')), "");
    ASSERT_EQ(reporter.messages.size(), 3334u);
    EXPECT_EQ(reporter.messages[0], "Unknown officer: ");
    EXPECT_EQ(reporter.messages.back(), "Bad direction: " + std::string(10000, '-'));

    // Targets beyond any 32-bit coordinate: the walks toward them are skipped.
    for (const char* direc : {"-DIAG_E-MC-", "-E-MC-", "-DIAG_N-MC+N+5-"}) {
        reset();
        put(9, 3e9f, -3e9f);
        EXPECT_EQ(run("MAR", direc), "") << direc;
        EXPECT_EQ(at(0), "0,1800,9045");
    }
}

}  // namespace
}  // namespace velistrad::testing
