// "Z" and "X": between an officer's station and his point on the walking band.
#include "compiler/movement_compiler.h"
#include "model/walking_band.h"

namespace velistrad {

void MovementCompiler::moveZ(std::int16_t Officer, bool relocate) {
    const BandPoint z = bandPoint(m_room, Officer);
    if (relocate) {
        place(Officer, z.x, z.y);
        return;
    }
    // Always both walks, x first: one of them is a standing frame from the station.
    walkStraight(Officer, z.x, false);
    walkStraight(Officer, z.y, true);
}

void MovementCompiler::moveX(std::int16_t Officer, bool relocate) {
    const auto& who = m_room.officer(Officer);
    const std::int32_t sx = who.stationX;
    const std::int32_t sy = who.stationY;
    if (relocate) {
        place(Officer, sx, sy);
        return;
    }
    // Retrace the band walk in reverse, so "ZX" comes back along the same line.
    if (returnsAlongXFirst(m_room, Officer)) {
        walkStraight(Officer, sx, false);
        walkStraight(Officer, sy, true);
    } else {
        walkStraight(Officer, sy, true);
        walkStraight(Officer, sx, false);
    }
}

}  // namespace velistrad
