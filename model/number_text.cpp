#include "model/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace velistrad {

namespace {

// Coordinates on the floor take this path: a float times a power of ten up to
// 10^6 is exact in a double, so rounding it to a whole number rounds the exact
// value half to even, just as the general formatting below does.
struct FixedDigits {
    std::int64_t digits;  // the seven (or fewer) significant digits
    int decimals;         // how many of them stand after the point
};

bool fixedDigits(float value, FixedDigits& out) {
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
    out = {static_cast<std::int64_t>(scaled), decimals};
    return true;
}

char* writeSingleFixed(char* out, float value) {
    FixedDigits fixed;
    if (!fixedDigits(value, fixed)) return nullptr;
    auto digits = fixed.digits;
    int decimals = fixed.decimals;
    while (decimals > 0 && digits % 10 == 0) {
        digits /= 10;
        --decimals;
    }
    if (value < 0) *out++ = '-';
    char* end = std::to_chars(out, out + kMaxNumberText, digits).ptr;
    if (decimals > 0) {
        // Shift the decimals one place right to make room for the point.
        char* point = end - decimals;
        std::copy_backward(point, end, end + 1);
        *point = '.';
        ++end;
    }
    return end;
}

}  // namespace

char* writeSingle(char* out, float value) {
    if (value == 0.0f) {  // also -0, which must not show its sign
        *out = '0';
        return out + 1;
    }
    // Whole numbers, most coordinates of all, print as plain digits.
    if (std::fabs(value) < 1e7f && value == std::trunc(value)) {
        return writeLong(out, static_cast<std::int64_t>(value));
    }
    if (char* end = writeSingleFixed(out, value)) return end;
    // to_chars, not printf: the window's locale must never turn "." into ",".
    char* end = std::to_chars(out, out + kMaxNumberText, static_cast<double>(value),
                              std::chars_format::general, 7)
                    .ptr;
    std::replace(out, end, 'e', 'E');
    return end;
}

char* writeLong(char* out, std::int64_t value) {
    return std::to_chars(out, out + kMaxNumberText, value).ptr;
}

void appendSingle(std::string& out, float value) {
    char buffer[kMaxNumberText];
    out.append(buffer, writeSingle(buffer, value));
}

void appendLong(std::string& out, std::int64_t value) {
    char buffer[kMaxNumberText];
    out.append(buffer, writeLong(buffer, value));
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

double singleAsWritten(float value) {
    if (value == 0.0f) return 0.0;
    if (std::fabs(value) < 1e7f && value == std::trunc(value)) return value;
    // Dividing the exact digits by an exact power of ten rounds correctly,
    // as reading the digits back as text does.
    static constexpr double kPowers[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    FixedDigits fixed;
    if (fixedDigits(value, fixed)) {
        const double v = static_cast<double>(fixed.digits) / kPowers[fixed.decimals];
        return value < 0 ? -v : v;
    }
    char buffer[kMaxNumberText];
    const char* end = writeSingle(buffer, value);
    return leadingNumber(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which is to-nearest-even.
    return std::nearbyint(value);
}

}  // namespace velistrad
