#include "compiler/reporter.h"

#include <cstdio>
#include <utility>

namespace velistrad {

namespace {

// Length of the well-formed UTF-8 sequence at text[pos] of two or more
// bytes, or 0.
std::size_t multiByteLength(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    }
    if (length == 0 || text.size() - pos < length) return 0;
    if (byte(pos + 1) < low || byte(pos + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(pos + i) & 0xC0u) != 0x80u) return 0;
    }
    return length;
}

// The code point of a well-formed sequence of `length` bytes.
char32_t codePoint(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    char32_t value = lead & (0x7Fu >> bytes.size());
    for (std::size_t i = 1; i < bytes.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(bytes[i]) & 0x3Fu);
    return value;
}

// Characters that draw nothing, or nothing a reader can tell from a blank,
// yet make "M\u200BAR" differ from "MAR": controls, format characters
// (zero-width, bidirectional, soft hyphen, byte-order mark), line and
// paragraph separators, blanks other than the ASCII one, variation selectors.
bool invisible(char32_t c) {
    static constexpr std::pair<char32_t, char32_t> kRanges[] = {
        {0x0080, 0x00A0}, {0x00AD, 0x00AD},   {0x034F, 0x034F},   {0x061C, 0x061C},
        {0x115F, 0x1160}, {0x1680, 0x1680},   {0x17B4, 0x17B5},   {0x180B, 0x180F},
        {0x2000, 0x200F}, {0x2028, 0x202F},   {0x205F, 0x206F},   {0x3000, 0x3000},
        {0x3164, 0x3164}, {0xFE00, 0xFE0F},   {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},
        {0xFFF0, 0xFFFB}, {0x1D173, 0x1D17A}, {0xE0000, 0xE0FFF},
    };
    for (const auto& [first, last] : kRanges)
        if (c >= first && c <= last) return true;
    return false;
}

}  // namespace

std::size_t characterLength(std::string_view text, std::size_t pos) {
    const auto c = static_cast<unsigned char>(text[pos]);
    const std::size_t n = c >= 0x80 ? multiByteLength(text, pos) : 0;
    return n > 0 ? n : 1;
}

std::string visibleText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto c = static_cast<unsigned char>(text[pos]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
            ++pos;
        } else if (const std::size_t n = c >= 0x80 ? multiByteLength(text, pos) : 0; n > 0) {
            const char32_t point = codePoint(text.substr(pos, n));
            if (invisible(point)) {
                char code[16];
                std::snprintf(code, sizeof code, "[U+%04X]", static_cast<unsigned>(point));
                out += code;
            } else {
                out.append(text.substr(pos, n));
            }
            pos += n;
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
            ++pos;
        }
    }
    return out;
}

}  // namespace velistrad
