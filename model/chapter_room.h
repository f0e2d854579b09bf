// The fixed floor of the Chapter room: the 22 officers with their stations and
// current positions, and the 29 lettered and numbered floor points.
//
// Units are twips on the plan, measured from its upper left corner; x grows
// toward North (right of the plan), y toward East (bottom). Stations and points
// are whole numbers; current positions are single precision because diagonal
// walks leave fractions, and the frames users see depend on that precision.
// The tables are filled once by the constructor; only current positions move.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace velistrad {

inline constexpr int kOfficerCount = 22;     // officers 0..21 are in use
inline constexpr int kOfficerCapacity = 27;  // storage has room for 0..26
inline constexpr int kPointCount = 29;       // A..V are 0..21, lights 1..7 are 22..28
inline constexpr int kPointCapacity = 41;

struct Officer {
    std::string abbreviation;  // drawn as the label ("Mar", "Sen", ...)
    std::string key;           // upper-case matching key ("MAR", "SEN", ...)
    std::int32_t stationX = 0;
    std::int32_t stationY = 0;
    float curX = 0;
    float curY = 0;

    bool atStation() const {
        return curX == static_cast<float>(stationX) && curY == static_cast<float>(stationY);
    }
};

struct FloorPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Point index of a letter A..V (may be out of range for other characters).
constexpr int letterPointIndex(char letter) {
    return letter - 'A';
}
// Point index of an altar light digit 1..7.
constexpr int lightPointIndex(char digit) {
    return digit - '0' + ('V' - 'A');
}

class ChapterRoom {
public:
    ChapterRoom();

    // Index of the officer whose matching key equals name exactly
    // (case-sensitive, no trimming), or -1.
    std::int16_t findOfficer(std::string_view name) const;

    // Callers pass indexes they have checked with isOfficer / isPoint.
    Officer& officer(int index) { return m_officers[static_cast<std::size_t>(index)]; }
    const Officer& officer(int index) const { return m_officers[static_cast<std::size_t>(index)]; }
    const FloorPoint& point(int index) const { return m_points[static_cast<std::size_t>(index)]; }

    static bool isOfficer(long long index) { return index >= 0 && index < kOfficerCount; }
    static bool isPoint(long long index) { return index >= 0 && index < kPointCount; }

    // Every officer back to his station, as playback does before a run.
    void resetToStations();

    // The officer whose station, the floor point that, lies exactly at
    // (x, y); -1 when none does.
    int stationAt(float x, float y) const;
    int pointAt(float x, float y) const;

private:
    struct Tables {};
    explicit ChapterRoom(Tables);

    std::array<Officer, kOfficerCapacity> m_officers;
    std::array<FloorPoint, kPointCapacity> m_points;
};

}  // namespace velistrad
