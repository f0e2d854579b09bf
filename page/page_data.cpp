#include "page/page_data.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "engine/played_timeline.h"
#include "model/chapter_room.h"

namespace velistrad {

namespace {

// Whole values this small are exact in a single and in their differences.
bool smallWhole(float v) {
    return v == std::trunc(v) && std::fabs(v) < 16777216.0f;
}

void appendCoordinate(std::string& out, float& last, bool played, float value) {
    if (!played) return;  // playback keeps the coordinate it has
    if (smallWhole(last) && smallWhole(value)) {
        const auto delta = static_cast<std::int64_t>(value) - static_cast<std::int64_t>(last);
        char buffer[24];
        out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, delta).ptr);
    } else {
        // The page reads a number as a double and rounds it to a single: the
        // shortest text of the single where that gives it back, else the
        // double's, which always does.
        char buffer[32];
        const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        double read = 0;
        std::from_chars(buffer, end, read);
        out += '=';
        if (static_cast<float>(read) == value)
            out.append(buffer, static_cast<std::size_t>(end - buffer));
        else
            appendJsonNumber(out, static_cast<double>(value));
    }
    last = value;
}

void appendRepeat(std::string& out, std::size_t repeats) {
    if (repeats == 0) return;
    out += "\n*";
    out += std::to_string(repeats);
}

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not one.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    char32_t min = 0;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) n = 2, min = 0x80;
    if (c >= 0xE0 && c <= 0xEF) n = 3, min = 0x800;
    if (c >= 0xF0 && c <= 0xF4) n = 4, min = 0x10000;
    if (n == 0 || i + n > text.size()) return 0;
    char32_t code = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i + k) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < min || code > 0x10FFFF || surrogate ? 0 : n;
}

void appendEscape(std::string& out, unsigned code) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(code >> shift) & 0xF];
}

}  // namespace

std::string encodeFrames(const PlayedTimeline& played, const ChapterRoom& room) {
    std::array<float, kOfficerCount> lastX{};
    std::array<float, kOfficerCount> lastY{};
    for (int i = 0; i < kOfficerCount; ++i) {
        lastX[static_cast<std::size_t>(i)] = static_cast<float>(room.officer(i).stationX);
        lastY[static_cast<std::size_t>(i)] = static_cast<float>(room.officer(i).stationY);
    }
    std::string out;
    std::string line;
    std::string previous;
    std::size_t repeats = 0;
    for (std::size_t n = 0; n < played.size(); ++n) {
        const Frame& frame = played.frame(n);
        line.clear();
        if (frame.isDelay()) {
            line += '@';
            appendJsonNumber(line, played.delaySeconds(frame));
        }
        forEachTriple(played.pool(), frame, [&](const Triple& t) {
            if (!ChapterRoom::isOfficer(t.officer)) return;
            const auto k = static_cast<std::size_t>(t.officer);
            if (!line.empty()) line += ' ';
            line += std::to_string(t.officer);
            float v = 0;
            line += ',';
            const bool hasX = playedX(t, v);
            appendCoordinate(line, lastX[k], hasX, v);
            line += ',';
            const bool hasY = playedY(t, v);
            appendCoordinate(line, lastY[k], hasY, v);
        });
        if (n > 0 && line == previous) {
            ++repeats;
            continue;
        }
        appendRepeat(out, repeats);
        repeats = 0;
        if (n > 0) out += '\n';
        out += line;
        previous.swap(line);
    }
    appendRepeat(out, repeats);
    return out;
}

void appendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text, i);
        if (n == 0) {
            appendEscape(out, 0xFFFD);
            ++i;
            continue;
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (n == 1) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c < 0x20 || c == 0x7F || c == '<' || c == '>' || c == '&') {
                appendEscape(out, c);
            } else {
                out += static_cast<char>(c);
            }
        } else if (n == 3 && c == 0xE2 && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
                    static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
            appendEscape(out, static_cast<unsigned char>(text[i + 2]) == 0xA8 ? 0x2028 : 0x2029);
        } else {
            out.append(text.substr(i, n));
        }
        i += n;
    }
    out += '"';
}

std::string validUtf8(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = utf8Length(text, i);
        out += n == 0 ? std::string_view("\xEF\xBF\xBD") : text.substr(i, n);
        i += n == 0 ? 1 : n;
    }
    return out;
}

void appendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += '0';
        return;
    }
    char buffer[32];
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace velistrad
