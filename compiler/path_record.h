// The records a compiled entry is made of: one officer's position in one
// animation frame, kept as numbers.
//
// A coordinate stays as the compiler wrote it, a whole number (a station, a
// point, the end of a walk) or a single-precision value (a walk under way),
// so that the text of a frame (`velistrad-cli compile`) is written exactly as
// it always was, and playback reads exactly the value that text would give.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace velistrad {

inline constexpr std::uint8_t kWholeX = 1;
inline constexpr std::uint8_t kWholeY = 2;

// Trivial, so that long timelines of them are allocated without being touched.
struct Triple {
    std::uint32_t xBits;  // an int32 when the x is whole, else a float's bits
    std::uint32_t yBits;
    std::uint8_t officer;    // 0..21: the compiler only writes known officers
    std::uint8_t wholeMask;  // kWholeX | kWholeY
};

namespace detail {
inline std::uint32_t bitsOf(float v) {
    return std::bit_cast<std::uint32_t>(v);
}
inline std::uint32_t bitsOf(std::int32_t v) {
    return static_cast<std::uint32_t>(v);
}
}  // namespace detail

// X and Y are float or std::int32_t.
template <typename X, typename Y>
Triple makeTriple(int officer, X x, Y y) {
    static_assert((std::is_same_v<X, float> || std::is_same_v<X, std::int32_t>)&&(
        std::is_same_v<Y, float> || std::is_same_v<Y, std::int32_t>));
    return {detail::bitsOf(x), detail::bitsOf(y), static_cast<std::uint8_t>(officer),
            static_cast<std::uint8_t>((std::is_same_v<X, std::int32_t> ? kWholeX : 0) |
                                      (std::is_same_v<Y, std::int32_t> ? kWholeY : 0))};
}

// The value playback shows for a coordinate: what reading its text back
// gives. False when that text would not fit a single, as playback then
// leaves the coordinate unchanged.
bool playedSingle(std::uint32_t bits, float& out);  // the general case

inline bool playedCoordinate(std::uint32_t bits, bool whole, float& out) {
    if (whole) {
        out = static_cast<float>(static_cast<std::int32_t>(bits));
        return true;
    }
    // Whole values below 10^7, most of all, are written as plain digits and
    // read back exactly.
    const float v = std::bit_cast<float>(bits);
    if (v > -1e7f && v < 1e7f && v != 0.0f &&
        v == static_cast<float>(static_cast<std::int32_t>(v))) {
        out = v;
        return true;
    }
    return playedSingle(bits, out);
}
inline bool playedX(const Triple& t, float& out) {
    return playedCoordinate(t.xBits, (t.wholeMask & kWholeX) != 0, out);
}
inline bool playedY(const Triple& t, float& out) {
    return playedCoordinate(t.yBits, (t.wholeMask & kWholeY) != 0, out);
}

// "officer,x,y" as the text of a frame has it.
void appendTriple(std::string& out, const Triple& t);

// A walk record closes its frame; a placement joins the frame that the next
// walk record closes (or stands after the last one).
struct PathRecord {
    Triple triple;
    bool placement;
};

using Path = std::vector<PathRecord>;

// The path as text: each record followed by "|" (walk) or "," (placement).
std::string pathText(const Path& path);

}  // namespace velistrad
