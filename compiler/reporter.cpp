#include "compiler/reporter.h"

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

}  // namespace

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
            out.append(text.substr(pos, n));
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
