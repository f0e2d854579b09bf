#include "model/number_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace velistrad {

namespace {

// Coordinates on the floor take this path: a float times a power of ten up to
// 10^6 is exact in a double, so rounding it to a whole number rounds the exact
// value half to even, just as the general formatting below does.
bool appendSingleFixed(std::string& out, float value) {
    static constexpr double kPowers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    const double v = std::fabs(static_cast<double>(value));
    if (!(v >= 1.0 && v < 1e7)) return false;
    int integerDigits = 1;
    while (integerDigits < 7 && v >= kPowers[integerDigits]) ++integerDigits;
    int decimals = 7 - integerDigits;
    double scaled = std::nearbyint(v * kPowers[decimals]);
    if (scaled >= 1e7) {  // rounding carried into one more integer digit
        if (decimals == 0) return false;
        --decimals;
        scaled = std::nearbyint(v * kPowers[decimals]);
    }
    auto digits = static_cast<std::int64_t>(scaled);
    while (decimals > 0 && digits % 10 == 0) {
        digits /= 10;
        --decimals;
    }
    char buffer[24];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, digits).ptr;
    if (value < 0) out += '-';
    const std::size_t length = static_cast<std::size_t>(end - buffer);
    const std::size_t whole = length - static_cast<std::size_t>(decimals);
    out.append(buffer, whole);
    if (decimals > 0) {
        out += '.';
        out.append(buffer + whole, static_cast<std::size_t>(decimals));
    }
    return true;
}

}  // namespace

void appendSingle(std::string& out, float value) {
    if (value == 0.0f) {  // also -0, which must not show its sign
        out += '0';
        return;
    }
    // Whole numbers, most coordinates of all, print as plain digits.
    if (std::fabs(value) < 1e7f && value == std::trunc(value)) {
        appendLong(out, static_cast<std::int64_t>(value));
        return;
    }
    if (appendSingleFixed(out, value)) return;
    // to_chars, not printf: the window's locale must never turn "." into ",".
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::general, 7);
    for (char* c = buffer; c != result.ptr; ++c) {
        if (*c == 'e') *c = 'E';
    }
    out.append(buffer, result.ptr);
}

void appendLong(std::string& out, std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

std::string formatSingle(float value) {
    std::string text;
    appendSingle(text, value);
    return text;
}

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto digitAt = [&](std::size_t k) {
        return k < n && std::isdigit(static_cast<unsigned char>(text[k])) != 0;
    };
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    bool any = false;
    while (digitAt(i)) ++i, any = true;
    if (i < n && text[i] == '.') {
        ++i;
        while (digitAt(i)) ++i, any = true;
    }
    if (!any) return 0.0;
    std::size_t end = i;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t k = i + 1;
        if (k < n && (text[k] == '+' || text[k] == '-')) ++k;
        if (digitAt(k)) {
            while (digitAt(k)) ++k;
            end = k;
        }
    }
    // from_chars is locale-independent and takes no leading "+".
    std::size_t from = start;
    bool negative = false;
    if (text[from] == '+' || text[from] == '-') negative = text[from++] == '-';
    double value = 0.0;
    const auto result = std::from_chars(text.data() + from, text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Only an exponent can push a number out of range: a negative one
        // makes it vanish, a positive one makes it huge.
        const std::size_t e = text.find_first_of("Ee", from);
        value = (e < end && text[e + 1] == '-') ? 0.0 : HUGE_VAL;
    }
    return negative ? -value : value;
}

double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even.
    return std::nearbyint(value);
}

}  // namespace velistrad
