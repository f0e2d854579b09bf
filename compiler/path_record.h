// The records a compiled entry is made of: one officer's position in one
// animation frame, kept as numbers.
//
// A coordinate stays as the compiler wrote it, a whole number (a station, a
// point, the end of a walk) or a single-precision value (a walk under way),
// so that the text of a frame (`velistrad-cli compile`) is written exactly as
// it always was, and playback reads exactly the value that text would give.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velistrad {

// Trivial, so that long timelines of them are allocated without being touched.
struct Triple {
    std::uint32_t xBits;  // an int32 when the x is whole, else a float's bits
    std::uint32_t yBits;
    std::uint8_t officer;    // 0..21: the compiler only writes known officers
    std::uint8_t wholeMask;  // kWholeX | kWholeY
};

inline constexpr std::uint8_t kWholeX = 1;
inline constexpr std::uint8_t kWholeY = 2;

Triple makeTriple(int officer, float x, float y);
Triple makeTriple(int officer, std::int32_t x, float y);
Triple makeTriple(int officer, float x, std::int32_t y);
Triple makeTriple(int officer, std::int32_t x, std::int32_t y);

// The value playback shows for a coordinate: what reading its text back
// gives. False when that text would not fit a single, as playback then
// leaves the coordinate unchanged.
bool playedX(const Triple& t, float& out);
bool playedY(const Triple& t, float& out);

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
