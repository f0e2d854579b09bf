// custom.sim as bytes: read leniently, written strictly. The limit of 20
// records is tested on the list of custom simulations.
#include "simulations/custom_file.h"

#include <regex>

#include "tests/model/case_file.h"
#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

using Sims = std::vector<CustomSimulation>;

// "<100a>" stands for 100 times "a".
std::string expand(const std::string& text) {
    std::string out = text;
    std::smatch m;
    while (std::regex_search(out, m, std::regex("<(\\d+)([^>]+)>"))) {
        std::string repeated;
        for (int i = std::stoi(m[1]); i > 0; --i) repeated += m[2];
        out.replace(static_cast<std::size_t>(m.position(0)), m[0].length(), repeated);
    }
    return out;
}

// "name=script|name=script".
Sims sims(const std::string& text) {
    Sims out;
    for (const std::string& record : split(expand(text), '|')) {
        const std::size_t eq = record.find('=');
        out.push_back({record.substr(0, eq), record.substr(eq + 1)});
    }
    return out;
}

TEST(CustomFileTest, ReadsLeniently) {
    for (const Case& c : CASES("custom_file_reads.txt", 3)) {
        SCOPED_TRACE(c.line);
        const CustomFileContents got = parseCustomFile(c[0]);
        EXPECT_EQ(got.simulations, sims(c[1]));
        EXPECT_FALSE(got.tooMany);
        EXPECT_EQ(got.preamble, c.yes(2));
    }
}

TEST(CustomFileTest, WritesStrictlyAndReadsBack) {
    for (const Case& c : CASES("custom_file_writes.txt", 3)) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(serializeCustomFile(sims(c[0])), expand(c[1]));
        EXPECT_EQ(parseCustomFile(expand(c[1])).simulations, sims(c[2].empty() ? c[0] : c[2]));
    }
}

}  // namespace
}  // namespace velistrad
