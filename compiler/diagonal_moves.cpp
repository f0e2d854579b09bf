// Diagonal walks at 20 twips per frame along the line, driven by y and then
// completed on x.
#include <cmath>

#include "compiler/movement_compiler.h"

namespace velistrad {

void MovementCompiler::walkDiagonal(std::int16_t officer, std::int32_t x, std::int32_t y) {
    auto& who = m_room.officer(officer);
    float& cx = who.curX;
    float& cy = who.curY;
    const double tx = x;
    const double ty = y;

    const double dx = tx - static_cast<double>(cx);
    const double dy = ty - static_cast<double>(cy);
    const float d = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    if (d == 0.0f) return;
    const float sx = static_cast<float>(std::fabs(dx) * 20.0 / static_cast<double>(d));
    const float sy = static_cast<float>(std::fabs(dy) * 20.0 / static_cast<double>(d));
    const float stepX = static_cast<double>(cx) < tx ? sx : -sx;

    // Each test compares the unrounded sum; the stored position is the sum
    // rounded to single precision. Far from the floor, or a hair beside the
    // destination, a step may no longer change the stored value: the loop then
    // ends instead of spinning, and the final frame lands on the destination.
    auto advance = [&](double nx, double ny) {
        const float fx = static_cast<float>(nx);
        const float fy = static_cast<float>(ny);
        writeWalk(officer, fx, fy);
        cx = fx;
        cy = fy;
    };
    if (static_cast<double>(cy) < ty) {
        while (static_cast<double>(cy) < ty - static_cast<double>(sy) && !m_overLimit) {
            const double ny = static_cast<double>(cy) + sy;
            if (static_cast<float>(ny) == cy) break;
            advance(static_cast<double>(cx) + stepX, ny);
        }
    } else if (static_cast<double>(cy) > ty) {
        while (static_cast<double>(cy) > ty + static_cast<double>(sy) && !m_overLimit) {
            const double ny = static_cast<double>(cy) - sy;
            if (static_cast<float>(ny) == cy) break;
            advance(static_cast<double>(cx) + stepX, ny);
        }
    }

    if (static_cast<double>(cx) < tx) {
        while (static_cast<double>(cx) + sx < tx && !m_overLimit) {
            const double nx = static_cast<double>(cx) + sx;
            if (static_cast<float>(nx) == cx) break;
            advance(nx, cy);
        }
    } else {
        while (tx + sx < static_cast<double>(cx) && !m_overLimit) {
            const double nx = static_cast<double>(cx) - sx;
            if (static_cast<float>(nx) == cx) break;
            advance(nx, cy);
        }
    }

    writeWalk(officer, x, y);
    cx = static_cast<float>(x);
    cy = static_cast<float>(y);
}

}  // namespace velistrad
