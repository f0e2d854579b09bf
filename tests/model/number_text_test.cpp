// Number text: seven significant digits out, leading numbers in, halves to
// even; what playback reads from a number is what its text says. The rows
// are those of model_cases.txt about numbers.
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/case_file.h"

namespace velistrad {
namespace {

TEST(NumberText, Cases) {
    FOR_EACH_CASE(c, "model_cases.txt", 3) {
        if (c[0] == "formatSingle") {
            EXPECT_EQ(formatSingle(c.f(1)), c[2]);
            // Playback reads what the text says, computed without writing it.
            EXPECT_EQ(singleAsWritten(c.f(1)), leadingNumber(c[2]));
        } else if (c[0] == "leadingNumber") {
            EXPECT_EQ(leadingNumber(c[1]), std::stod(c[2]));
        } else if (c[0] == "roundHalfEven") {
            EXPECT_EQ(roundHalfEven(std::stod(c[1])), std::stod(c[2]));
        } else if (c[0] != "findOfficer" && c[0] != "band") {
            EXPECT_EQ(leadingNumber(formatSingle(c.f(1))), std::stod(c[2]));
        }
    }
}

}  // namespace
}  // namespace velistrad
