#include "simulations/custom_file.h"

#include <algorithm>
#include <array>
#include <optional>

namespace velistrad {

namespace {

constexpr std::size_t kPieceLength = 100;  // characters per script line
constexpr std::string_view kHeaderMark = "---";
constexpr std::string_view kWrittenHeader = "----------";
constexpr std::string_view kLineEnd = "\r\n";
constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// undefined stand for the C1 code points of the same value, so every byte
// decodes to something and encodes back to itself.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code point starting at text[pos], advancing pos past it; nullopt (and
// pos advanced by one byte) for anything that is not strict UTF-8: overlong
// forms, surrogates and values above U+10FFFF are refused.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    // Lead bytes C0, C1 and F5..FF never start a valid sequence.
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0) {
        ++pos;
        return std::nullopt;
    }
    constexpr std::array<char32_t, 5> kMinimum = {0, 0, 0x80, 0x800, 0x10000};
    char32_t value = lead & (0x7Fu >> length);
    if (text.size() - pos < length) {
        ++pos;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0u) != 0x80u) {
            ++pos;
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    if (value < kMinimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return std::nullopt;
    }
    pos += length;
    return value;
}

bool isValidUtf8(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (!nextUtf8(text, pos)) return false;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string decodeCp1252(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u >= 0x80 && u <= 0x9F) {
            appendUtf8(text, kCp1252High[u - 0x80]);
        } else {
            appendUtf8(text, u);  // Latin-1 and ASCII coincide with their code points
        }
    }
    return text;
}

std::optional<char> encodeCp1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == c) return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

// The whole file as UTF-8 text: as it stands when it is valid UTF-8 (a byte
// order mark some editors add is dropped), else decoded as Windows-1252.
std::string decodeFile(std::string_view bytes) {
    if (!isValidUtf8(bytes)) return decodeCp1252(bytes);
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (bytes.substr(0, kBom.size()) == kBom) bytes.remove_prefix(kBom.size());
    return std::string(bytes);
}

// Text the caller hands us may not be valid UTF-8; each bad byte becomes
// U+FFFD so the file we write always is. CR and LF are dropped: inside a
// name or a script they would split a line of the file, and the loader joins
// a script's lines with nothing between them anyway, so a script comes back
// the same either way.
std::u32string cleanText(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = nextUtf8(text, pos).value_or(kReplacement);
        if (c != U'\r' && c != U'\n') out += c;
    }
    return out;
}

void appendLine(std::u32string& file, std::u32string_view line) {
    file += line;
    file += U"\r\n";
}

}  // namespace

CustomFileContents parseCustomFile(std::string_view bytes) {
    const std::string text = decodeFile(bytes);
    CustomFileContents contents;
    CustomSimulation* current = nullptr;  // text before the first header goes nowhere
    bool firstScriptLine = false;         // the only line that may carry the "---" escape

    std::size_t pos = 0;
    while (pos < text.size()) {
        // A line ends at CR LF, LF or a lone CR; the last one may have no end.
        const std::size_t end = text.find_first_of("\r\n", pos);
        const std::string_view line =
            std::string_view(text).substr(pos, end == std::string::npos ? end : end - pos);
        if (end == std::string::npos) {
            pos = text.size();
        } else {
            pos = end + (text.compare(end, kLineEnd.size(), kLineEnd) == 0 ? 2 : 1);
        }

        if (line.substr(0, kHeaderMark.size()) != kHeaderMark) {
            if (current == nullptr) {
                contents.preamble = contents.preamble || !line.empty();
                continue;
            }
            if (firstScriptLine && line.substr(0, 1) == " " &&
                line.substr(1, kHeaderMark.size()) == kHeaderMark) {
                current->script += line.substr(1);
            } else {
                current->script += line;
            }
            firstScriptLine = false;
            continue;
        }
        if (contents.simulations.size() == kMaxCustomSimulations) {
            contents.tooMany = true;
            break;
        }
        current = &contents.simulations.emplace_back();
        firstScriptLine = true;
        const std::size_t lastHyphen = line.rfind('-');
        current->name = std::string(line.substr(lastHyphen + 1));
        // Any number of hyphens reads back the same; anything else before the
        // last one ("Opening-Marshal") would be lost by writing it back.
        contents.namesCut =
            contents.namesCut ||
            line.substr(0, lastHyphen).find_first_not_of('-') != std::string_view::npos;
    }
    return contents;
}

std::string serializeCustomFile(const std::vector<CustomSimulation>& simulations) {
    std::u32string file;
    for (const CustomSimulation& simulation : simulations) {
        std::u32string header(kWrittenHeader.begin(), kWrittenHeader.end());
        appendLine(file, header + cleanText(simulation.name));
        const std::u32string script = cleanText(simulation.script);
        const std::u32string_view text(script);
        // A first line beginning "---" would read as a header: one blank goes
        // in front, taking that line's hundredth place. A script beginning
        // " ---" must not look like that escape, so an empty line comes first.
        const bool escape = text.substr(0, 3) == U"---";
        if (text.substr(0, 4) == U" ---") appendLine(file, U"");
        std::size_t at = 0;
        while (at < text.size()) {
            std::u32string line = escape && at == 0 ? U" " : U"";
            std::size_t end = std::min(at + kPieceLength - line.size(), text.size());
            // A line beginning with "---" would read back as a new record and
            // cut the script in two: such hyphens stay on this line instead.
            while (end < text.size() && text.substr(end, 3) == U"---") ++end;
            line += text.substr(at, end - at);
            appendLine(file, line);
            at = end;
        }
    }

    std::string utf8;
    for (const char32_t c : file) appendUtf8(utf8, c);

    std::string cp1252;
    cp1252.reserve(file.size());
    for (const char32_t c : file) {
        const std::optional<char> b = encodeCp1252(c);
        if (!b) return utf8;
        cp1252 += *b;
    }
    // Reading takes valid UTF-8 as UTF-8, so Windows-1252 bytes that happen
    // to form valid UTF-8 (such as "Ã©") would come back as other characters.
    if (cp1252 != utf8 && isValidUtf8(cp1252)) return utf8;
    return cp1252;
}

std::string decodeTextFile(std::string_view bytes) {
    return decodeFile(bytes);
}

}  // namespace velistrad
