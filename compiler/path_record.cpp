#include "compiler/path_record.h"

#include <bit>
#include <cmath>
#include <limits>
#include <string_view>
#include <type_traits>

#include "model/number_text.h"

namespace velistrad {

namespace {

std::uint32_t bitsOf(float v) {
    return std::bit_cast<std::uint32_t>(v);
}
std::uint32_t bitsOf(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}

template <typename X, typename Y>
Triple make(int officer, X x, Y y) {
    Triple t;
    t.xBits = bitsOf(x);
    t.yBits = bitsOf(y);
    t.officer = static_cast<std::uint8_t>(officer);
    t.wholeMask = static_cast<std::uint8_t>((std::is_same_v<X, std::int32_t> ? kWholeX : 0) |
                                            (std::is_same_v<Y, std::int32_t> ? kWholeY : 0));
    return t;
}

bool played(std::uint32_t bits, bool whole, float& out) {
    if (whole) {
        out = static_cast<float>(static_cast<std::int32_t>(bits));
        return true;
    }
    const double read = singleAsWritten(std::bit_cast<float>(bits));
    if (!(std::fabs(read) <= std::numeric_limits<float>::max())) return false;
    out = static_cast<float>(read);
    return true;
}

char* writeCoordinate(char* out, std::uint32_t bits, bool whole) {
    return whole ? writeLong(out, static_cast<std::int32_t>(bits))
                 : writeSingle(out, std::bit_cast<float>(bits));
}

}  // namespace

Triple makeTriple(int officer, float x, float y) {
    return make(officer, x, y);
}
Triple makeTriple(int officer, std::int32_t x, float y) {
    return make(officer, x, y);
}
Triple makeTriple(int officer, float x, std::int32_t y) {
    return make(officer, x, y);
}
Triple makeTriple(int officer, std::int32_t x, std::int32_t y) {
    return make(officer, x, y);
}

bool playedX(const Triple& t, float& out) {
    return played(t.xBits, (t.wholeMask & kWholeX) != 0, out);
}
bool playedY(const Triple& t, float& out) {
    return played(t.yBits, (t.wholeMask & kWholeY) != 0, out);
}

void appendTriple(std::string& out, const Triple& t) {
    char buffer[3 * kMaxNumberText + 2];
    char* p = writeLong(buffer, t.officer);
    *p++ = ',';
    p = writeCoordinate(p, t.xBits, (t.wholeMask & kWholeX) != 0);
    *p++ = ',';
    p = writeCoordinate(p, t.yBits, (t.wholeMask & kWholeY) != 0);
    out.append(buffer, p);
}

std::string pathText(const Path& path) {
    std::string text;
    for (const PathRecord& r : path) {
        appendTriple(text, r.triple);
        text += r.placement ? ',' : '|';
    }
    return text;
}

}  // namespace velistrad
