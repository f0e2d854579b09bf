// "Z" and "X": between an officer's station and his point on the walking band.
#include "compiler/movement_compiler.h"
#include "model/walking_band.h"

namespace velistrad {

void MovementCompiler::moveZ(std::int16_t officer, bool relocate) {
    const BandPoint z = bandPoint(m_room, officer);
    if (relocate) {
        place(officer, z.x, z.y);
        return;
    }
    // Always both walks, x first: one of them is a standing frame from the station.
    walkStraight(officer, z.x, false);
    walkStraight(officer, z.y, true);
}

void MovementCompiler::moveX(std::int16_t officer, bool relocate) {
    const auto& who = m_room.officer(officer);
    const std::int32_t sx = who.stationX;
    const std::int32_t sy = who.stationY;
    if (relocate) {
        place(officer, sx, sy);
        return;
    }
    // Retrace the band walk in reverse, so "ZX" comes back along the same line.
    if (returnsAlongXFirst(m_room, officer)) {
        walkStraight(officer, sx, false);
        walkStraight(officer, sy, true);
    } else {
        walkStraight(officer, sy, true);
        walkStraight(officer, sx, false);
    }
}

}  // namespace velistrad
