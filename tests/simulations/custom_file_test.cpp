#include "simulations/custom_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/simulations/saving_fixture.h"

namespace velistrad {

namespace {

using Sims = std::vector<CustomSimulation>;

std::string repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(CustomFileTest, ReadsLeniently) {
    const struct {
        const char* what;
        std::string bytes;
        Sims expected;
    } cases[] = {
        {"ten hyphens, lines joined", "----------Test\r\nMC,X,\r\nNow\r\n", {{"Test", "MC,X,Now"}}},
        {"three hyphens", "---Opening\r\nab\r\n", {{"Opening", "ab"}}},
        {"hyphens only give an empty name", "-----\r\nab\r\n", {{"", "ab"}}},
        {"name after the last hyphen", "----------Part-2\r\n", {{"2", ""}}},
        {"two hyphens are script", "---A\r\n--B\r\n", {{"A", "--B"}}},
        // One blank before "---" on a record's first script line is the
        // escape of a script that begins with hyphens; anywhere else it stays.
        {"escaped hyphens", "---A\r\n ---B\r\n ---C\r\n", {{"A", "---B ---C"}}},
        {"indented hyphens later are script", "---A\r\nx\r\n ---B\r\n", {{"A", "x ---B"}}},
        {"two blanks are no escape", "---A\r\n  ---B\r\n", {{"A", "  ---B"}}},
        {"LF only, last line unended", "---A\nx\ny\n---B\nz", {{"A", "xy"}, {"B", "z"}}},
        {"lone CR ends a line", "---A\rx\r---B\r", {{"A", "x"}, {"B", ""}}},
        {"empty lines add nothing", "---A\r\n\r\nx\r\n\r\n", {{"A", "x"}}},
        {"preamble dropped", "notes\r\n-- more\r\n---A\r\nx\r\n", {{"A", "x"}}},
        {"preamble only", "just text\r\n", {}},
        {"Windows-1252", "---Caf\xE9\r\n\x80\x81\x9F\r\n", {{"Caf\u00E9", "\u20AC\u0081\u0178"}}},
        {"UTF-8", "---\xCE\xA9\r\n\xC3\xA9\r\n", {{"\u03A9", "\u00E9"}}},
        {"UTF-8 with byte order mark", "\xEF\xBB\xBF---A\r\nx\r\n", {{"A", "x"}}},
        {"overlong UTF-8 is Windows-1252", "---\xC0\xAF\r\n", {{"\u00C0\u00AF", ""}}},
    };
    for (const auto& c : cases) {
        const CustomFileContents got = parseCustomFile(c.bytes);
        EXPECT_EQ(got.simulations, c.expected) << c.what;
        EXPECT_FALSE(got.tooMany) << c.what;
        EXPECT_EQ(got.preamble, std::string_view(c.what).starts_with("preamble")) << c.what;
    }
    EXPECT_FALSE(parseCustomFile("\r\n\n---A\r\n").preamble);  // empty lines lose nothing
}

TEST(CustomFileTest, TwentyRecordsAtMost) {
    std::string twenty;
    for (int i = 1; i <= 20; ++i) twenty += "---S" + std::to_string(i) + "\r\nx\r\n";
    // Nothing after a 21st header is read, not even into the 20th script.
    for (const std::string& more : {std::string(), std::string("---S21\r\ny\r\n---S22\r\n")}) {
        const CustomFileContents got = parseCustomFile(twenty + more);
        EXPECT_EQ(got.tooMany, !more.empty());
        ASSERT_EQ(got.simulations.size(), 20u);
        EXPECT_EQ(got.simulations.back(), (CustomSimulation{"S20", "x"}));
    }
}

TEST(CustomFileTest, WritesStrictlyAndReadsBack) {
    const std::string a100 = repeat("a", 100);
    const std::string omega100 = repeat("\u03A9", 100);
    const struct {
        const char* what;
        Sims sims;
        std::string bytes;
        std::optional<Sims> back = std::nullopt;  // read back when not `sims`
    } cases[] = {
        {"nothing", {}, ""},
        {"names differ by case, empty script has no lines",
         {{"Test", "MC,X,Now"}, {"test", ""}, {"", "x"}},
         "----------Test\r\nMC,X,Now\r\n----------test\r\n----------\r\nx\r\n"},
        {"pieces of 100",
         {{"L", a100 + a100 + "b"}},
         "----------L\r\n" + a100 + "\r\n" + a100 + "\r\nb\r\n"},
        {"pieces count characters",
         {{"W", omega100 + "\u03A9"}},
         "----------W\r\n" + omega100 + "\r\n\u03A9\r\n"},
        {"Windows-1252 when all fits",
         {{"Caf\u00E9", "\u20AC\u0081\u0178\u00FF"}},
         "----------Caf\xE9\r\n\x80\x81\x9F\xFF\r\n"},
        {"UTF-8 when one does not fit",
         {{"\u00E9", ""}, {"x", "\u03A9"}},
         "----------\u00E9\r\n----------x\r\n\u03A9\r\n"},
        // These two characters in Windows-1252 are the UTF-8 bytes of "é".
        {"UTF-8 when Windows-1252 would misread",
         {{"\u00C3\u00A9", ""}},
         "----------\u00C3\u00A9\r\n"},
        // Hyphens that would begin a script line stay on the line before, so a
        // long script never comes back cut into two simulations.
        {"hyphens at a piece boundary",
         {{"A", a100 + "---B"}},
         "----------A\r\n" + a100 + "-\r\n--B\r\n"},
        {"only hyphens at a boundary",
         {{"A", a100 + "-----"}},
         "----------A\r\n" + a100 + "---\r\n--\r\n"},
        {"two hyphens may begin a line",
         {{"A", a100 + "--B"}},
         "----------A\r\n" + a100 + "\r\n--B\r\n"},
        {"script beginning with hyphens",
         {{"A", "---B"}, {"C", "-----"}},
         "----------A\r\n ---B\r\n----------C\r\n -----\r\n"},
        {"escaped first line keeps 100 places",
         {{"A", "---" + a100}},
         "----------A\r\n ---" + repeat("a", 96) + "\r\naaaa\r\n"},
        {"a blank before hyphens is no escape", {{"A", " ---B"}}, "----------A\r\n\r\n ---B\r\n"},
        {"line breaks dropped",
         {{"N\r\n", "a\r\nb\nc\rd"}},
         "----------N\r\nabcd\r\n",
         Sims{{"N", "abcd"}}},
        {"bad UTF-8 in memory", {{"\xFF", ""}}, "----------\uFFFD\r\n", Sims{{"\uFFFD", ""}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(serializeCustomFile(c.sims), c.bytes) << c.what;
        EXPECT_EQ(parseCustomFile(c.bytes).simulations, c.back.value_or(c.sims)) << c.what;
    }
}

}  // namespace
}  // namespace velistrad
