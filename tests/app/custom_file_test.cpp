#include "app/customfile/custom_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velistrad {

// Printed by GoogleTest when a comparison fails.
bool operator==(const CustomSimulation& a, const CustomSimulation& b) {
    return a.name == b.name && a.script == b.script;
}
void PrintTo(const CustomSimulation& s, std::ostream* os) {
    *os << "{\"" << s.name << "\", \"" << s.script << "\"}";
}

namespace {

using Sims = std::vector<CustomSimulation>;

std::string repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

struct ReadCase {
    const char* what;
    std::string bytes;
    Sims expected;
};

TEST(CustomFileTest, ReadsLeniently) {
    const ReadCase cases[] = {
        {"ten hyphens, lines joined", "----------Test\r\nMC,X,\r\nNow\r\n", {{"Test", "MC,X,Now"}}},
        {"three hyphens", "---Opening\r\nab\r\n", {{"Opening", "ab"}}},
        {"hyphens only give an empty name", "-----\r\nab\r\n", {{"", "ab"}}},
        {"name after the last hyphen", "----------Part-2\r\n", {{"2", ""}}},
        {"two hyphens are script", "---A\r\n--B\r\n", {{"A", "--B"}}},
        {"indented hyphens are script", "---A\r\n ---B\r\n", {{"A", " ---B"}}},
        {"LF only, last line unended", "---A\nx\ny\n---B\nz", {{"A", "xy"}, {"B", "z"}}},
        {"lone CR ends a line", "---A\rx\r---B\r", {{"A", "x"}, {"B", ""}}},
        {"empty lines add nothing", "---A\r\n\r\nx\r\n\r\n", {{"A", "x"}}},
        {"preamble dropped", "notes\r\n-- more\r\n---A\r\nx\r\n", {{"A", "x"}}},
        {"empty file", "", {}},
        {"preamble only", "just text\r\n", {}},
        {"Windows-1252", "---Caf\xE9\r\n\x80\x81\x9F\r\n", {{"Caf\u00E9", "\u20AC\u0081\u0178"}}},
        {"UTF-8", "---\xCE\xA9\r\n\xC3\xA9\r\n", {{"\u03A9", "\u00E9"}}},
        {"UTF-8 with byte order mark", "\xEF\xBB\xBF---A\r\nx\r\n", {{"A", "x"}}},
        {"overlong UTF-8 is Windows-1252", "---\xC0\xAF\r\n", {{"\u00C0\u00AF", ""}}},
    };
    for (const ReadCase& c : cases) {
        const CustomFileContents got = parseCustomFile(c.bytes);
        EXPECT_EQ(got.simulations, c.expected) << c.what;
        EXPECT_FALSE(got.tooMany) << c.what;
    }
}

TEST(CustomFileTest, TwentyRecordsAtMost) {
    std::string twenty;
    for (int i = 1; i <= 20; ++i) twenty += "---S" + std::to_string(i) + "\r\nx\r\n";

    const CustomFileContents exact = parseCustomFile(twenty);
    EXPECT_FALSE(exact.tooMany);
    ASSERT_EQ(exact.simulations.size(), 20u);
    EXPECT_EQ(exact.simulations.back(), (CustomSimulation{"S20", "x"}));

    const CustomFileContents over = parseCustomFile(twenty + "---S21\r\ny\r\n---S22\r\n");
    EXPECT_TRUE(over.tooMany);
    ASSERT_EQ(over.simulations.size(), 20u);
    // Nothing after the 21st header is read, not even into the 20th script.
    EXPECT_EQ(over.simulations.back(), (CustomSimulation{"S20", "x"}));
}

struct WriteCase {
    const char* what;
    Sims sims;
    std::string bytes;
};

TEST(CustomFileTest, WritesStrictly) {
    const std::string a100 = repeat("a", 100);
    const std::string omega100 = repeat("\u03A9", 100);
    const WriteCase cases[] = {
        {"nothing", {}, ""},
        {"one record", {{"Test", "MC,X,Now"}}, "----------Test\r\nMC,X,Now\r\n"},
        {"empty script has no lines",
         {{"A", ""}, {"B", "x"}},
         "----------A\r\n----------B\r\nx\r\n"},
        {"pieces of 100",
         {{"L", a100 + a100 + "b"}},
         "----------L\r\n" + a100 + "\r\n" + a100 + "\r\nb\r\n"},
        {"pieces count characters",
         {{"W", omega100 + "\u03A9"}},
         "----------W\r\n" + omega100 + "\r\n\u03A9\r\n"},
        {"line breaks dropped", {{"N\r\n", "a\r\nb\nc\rd"}}, "----------N\r\nabcd\r\n"},
        {"Windows-1252 when all fits",
         {{"Caf\u00E9", "\u20AC\u0081"}},
         "----------Caf\xE9\r\n\x80\x81\r\n"},
        {"UTF-8 when one does not fit",
         {{"\u00E9", ""}, {"x", "\u03A9"}},
         "----------\u00E9\r\n----------x\r\n\u03A9\r\n"},
        // These two characters in Windows-1252 are the UTF-8 bytes of "é".
        {"UTF-8 when Windows-1252 would misread",
         {{"\u00C3\u00A9", ""}},
         "----------\u00C3\u00A9\r\n"},
        {"bad UTF-8 in memory", {{"\xFF", ""}}, "----------\uFFFD\r\n"},
    };
    for (const WriteCase& c : cases) {
        EXPECT_EQ(serializeCustomFile(c.sims), c.bytes) << c.what;
    }
}

TEST(CustomFileTest, RoundTrips) {
    const std::string longScript = repeat("MC,-AT-X-,Now,SD,ABC,After,", 20);  // 540 characters
    const Sims cases[] = {
        {},
        {{"Test", "MC,X,Now"}, {"test", ""}, {"", "SC,X,Now"}},
        {{"Long", longScript}, {"Greek \u03A9", repeat("\u03A9\u00E9", 120)}},
        {{"Caf\u00E9 \u20AC", "\u0178\u00FF\u00A0"}},
    };
    for (const Sims& sims : cases) {
        const CustomFileContents back = parseCustomFile(serializeCustomFile(sims));
        EXPECT_EQ(back.simulations, sims);
        EXPECT_FALSE(back.tooMany);
    }
}

TEST(CustomFileTest, KnownLossesOnRoundTrip) {
    struct LossCase {
        const char* what;
        Sims saved;
        Sims loaded;
    };
    const LossCase cases[] = {
        {"hyphen in a name", {{"Part-2", "x"}}, {{"2", "x"}}},
        {"line breaks joined", {{"A", "MC,X,\r\nNow"}}, {{"A", "MC,X,Now"}}},
    };
    for (const LossCase& c : cases) {
        EXPECT_EQ(parseCustomFile(serializeCustomFile(c.saved)).simulations, c.loaded) << c.what;
    }
}

// Hyphens that would begin a script line stay on the line before, so a long
// script never comes back cut into two simulations.
TEST(CustomFileTest, HyphensAtAPieceBoundaryStayInTheScript) {
    const std::string a100 = repeat("a", 100);
    const struct {
        std::string script;
        std::string written;
    } cases[] = {
        {a100 + "---B", "----------A\r\n" + a100 + "-\r\n--B\r\n"},
        {a100 + "-----", "----------A\r\n" + a100 + "---\r\n--\r\n"},
        {a100 + "--B", "----------A\r\n" + a100 + "\r\n--B\r\n"},
    };
    for (const auto& c : cases) {
        const std::string file = serializeCustomFile({{"A", c.script}});
        EXPECT_EQ(file, c.written);
        EXPECT_EQ(parseCustomFile(file).simulations, (Sims{{"A", c.script}}));
    }
}

}  // namespace
}  // namespace velistrad
