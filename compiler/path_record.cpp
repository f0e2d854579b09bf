#include "compiler/path_record.h"

#include <bit>
#include <cmath>
#include <limits>
#include <string_view>

#include "model/number_text.h"

namespace velistrad {

namespace {

char* writeCoordinate(char* out, std::uint32_t bits, bool whole) {
    return whole ? writeLong(out, static_cast<std::int32_t>(bits))
                 : writeSingle(out, std::bit_cast<float>(bits));
}

}  // namespace

bool playedSingle(std::uint32_t bits, float& out) {
    const double read = singleAsWritten(std::bit_cast<float>(bits));
    if (!(std::fabs(read) <= std::numeric_limits<float>::max())) return false;
    out = static_cast<float>(read);
    return true;
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
