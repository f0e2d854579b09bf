// Number text of path strings and offset numbers: seven significant digits
// out, leading numbers in, halves to even.
#include <gtest/gtest.h>

#include <string>

#include "model/number_text.h"

namespace velistrad {
namespace {

TEST(NumberText, SingleWithSevenSignificantDigits) {
    struct Row {
        float value;
        const char* text;
    };
    const Row kRows[] = {
        {1820.0f, "1820"},
        {1834.567f, "1834.567"},
        {-300.0f, "-300"},
        {1854.5f, "1854.5"},
        {0.0f, "0"},
        {-0.0f, "0"},
        {0.1f, "0.1"},
        {-0.25f, "-0.25"},
        {1234567.0f, "1234567"},
        {1500.001f, "1500.001"},
        {4590.0005f, "4590"},
        {19.999746f, "19.99975"},
        {999999.94f, "999999.9"},
        {9999999.0f, "9999999"},
        {1018.13f, "1018.13"},
    };
    for (const Row& row : kRows) EXPECT_EQ(formatSingle(row.value), row.text) << row.value;
}

TEST(NumberText, LargeSinglesKeepSevenDigitsAndReadBack) {
    const struct {
        float value;
        double readBack;
    } kRows[] = {{3e7f, 3e7}, {12345678.0f, 12345680.0}, {-33076044.0f, -33076040.0}};
    for (const auto& row : kRows) {
        const std::string text = formatSingle(row.value);
        SCOPED_TRACE(text);
        int digits = 0;
        for (char c : text.substr(0, text.find_first_of("Ee"))) digits += c >= '0' && c <= '9';
        EXPECT_LE(digits, 7);
        EXPECT_EQ(leadingNumber(text), row.readBack);
    }
}

TEST(NumberText, LeadingNumber) {
    struct Row {
        const char* text;
        double value;
    };
    constexpr Row kRows[] = {
        {"200+5", 200},   {"", 0},           {"N", 0},      {"-", 0},    {".", 0},
        {"150.5", 150.5}, {"-100", -100},    {"+7", 7},     {".5", 0.5}, {"12ABC", 12},
        {"1.2.3", 1.2},   {"-0.75X", -0.75}, {"00042", 42}, {"+-3", 0},  {"3-4", 3},
    };
    for (const Row& row : kRows) EXPECT_EQ(leadingNumber(row.text), row.value) << row.text;
}

TEST(NumberText, RoundHalfEven) {
    constexpr double kRows[][2] = {
        {150.5, 150}, {151.5, 152}, {4890.5, 4890},   {2.5, 2},           {-2.5, -2},
        {-0.5, 0},    {0.49, 0},    {32767.5, 32768}, {-32768.5, -32768}, {100.51, 101}};
    for (const auto& row : kRows) EXPECT_EQ(roundHalfEven(row[0]), row[1]) << row[0];
}

}  // namespace
}  // namespace velistrad
