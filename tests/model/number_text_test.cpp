// Number text: seven significant digits out, leading numbers in, halves to even.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "model/number_text.h"

namespace velistrad {
namespace {

TEST(NumberText, SingleWithSevenSignificantDigits) {
    const std::vector<std::tuple<float, const char*>> kRows = {
        {1834.567f, "1834.567"},  {-300, "-300"},
        {1854.5f, "1854.5"},      {-0.0f, "0"},
        {-0.25f, "-0.25"},        {1234567, "1234567"},
        {4590.0005f, "4590"},     {19.999746f, "19.99975"},
        {999999.94f, "999999.9"}, {9999999, "9999999"},
        {1018.13f, "1018.13"},
    };
    for (const auto& [value, text] : kRows) EXPECT_EQ(formatSingle(value), text) << value;
    // Beyond seven digits the text is rounded but still reads back as a number.
    EXPECT_EQ(leadingNumber(formatSingle(12345678.0f)), 12345680.0);
    EXPECT_EQ(leadingNumber(formatSingle(-33076044.0f)), -33076040.0);
}

TEST(NumberText, LeadingNumber) {
    const std::vector<std::tuple<const char*, double>> kRows = {
        {"200+5", 200}, {"", 0},     {"N", 0},      {"-", 0},       {".", 0},
        {"+7", 7},      {".5", 0.5}, {"12ABC", 12}, {"1.2.3", 1.2}, {"-0.75X", -0.75},
        {"00042", 42},  {"+-3", 0},  {"3-4", 3}};
    for (const auto& [text, value] : kRows) EXPECT_EQ(leadingNumber(text), value) << text;
}

TEST(NumberText, RoundHalfEven) {
    constexpr double kRows[][2] = {{150.5, 150},     {151.5, 152},      {-2.5, -2},
                                   {-0.5, 0},        {0.49, 0},         {100.51, 101},
                                   {32767.5, 32768}, {-32768.5, -32768}};
    for (const auto& row : kRows) EXPECT_EQ(roundHalfEven(row[0]), row[1]) << row[0];
}

}  // namespace
}  // namespace velistrad
