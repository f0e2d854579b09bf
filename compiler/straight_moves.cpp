// Straight walks along one axis at 20 twips per frame.
#include "compiler/movement_compiler.h"

namespace velistrad {

void MovementCompiler::walkStraight(std::int16_t officer, std::int32_t dest, bool vert) {
    auto& who = m_room.officer(officer);
    float& c = vert ? who.curY : who.curX;
    const double target = dest;
    auto step = [&](float next) {
        if (vert) {
            writeWalk(officer, who.curX, next);
        } else {
            writeWalk(officer, next, who.curY);
        }
        c = next;
    };
    // The comparisons are made against the whole-number bound exactly; a
    // fractional start keeps its fraction in every intermediate frame.
    if (static_cast<double>(c) < target) {
        while (static_cast<double>(c) < target - 20.0 && !m_overLimit) {
            const float next = c + 20.0f;
            if (next == c) break;  // unreachable on the floor; guards absurd magnitudes
            step(next);
        }
    } else {
        while (static_cast<double>(c) > target + 20.0 && !m_overLimit) {
            const float next = c - 20.0f;
            if (next == c) break;
            step(next);
        }
    }
    if (vert) {
        writeWalk(officer, who.curX, dest);
    } else {
        writeWalk(officer, dest, who.curY);
    }
    c = static_cast<float>(dest);
}

}  // namespace velistrad
