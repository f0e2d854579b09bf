// Steps written between "-" signs: placements (AT, AT_w), next-to walks
// (a compass word), diagonal walks (DIAG, DIAG_w) and offset targets such as
// "J+N+100". Distances are twips; the next-to spacing is 300 on each axis the
// compass word names.
#include <cmath>
#include <limits>
#include <optional>

#include "compiler/movement_compiler.h"
#include "model/number_text.h"

namespace velistrad {

namespace {

constexpr std::int32_t kSpacing = 300;

bool isCompassWord(std::string_view word) {
    std::string probe(word);
    probe += ' ';
    return std::string_view("E W N S NW NE SW SE ").find(probe) != std::string_view::npos;
}

// y component: 0 for N and S, positive for E, SE, NE, negative otherwise.
int signV(std::string_view w) {
    if (w == "N" || w == "S") return 0;
    if (w == "E" || w == "SE" || w == "NE") return 1;
    return -1;
}

// x component: 0 for W and E, negative for S, SE, SW, positive otherwise.
int signH(std::string_view w) {
    if (w == "W" || w == "E") return 0;
    if (w == "S" || w == "SE" || w == "SW") return -1;
    return 1;
}

// Point index of a one-character point letter A..V or light 1..7, else none.
std::optional<int> pointTarget(std::string_view target) {
    if (target.size() != 1) return std::nullopt;
    const char c = target[0];
    if (c >= 'A' && c <= 'V') return letterPointIndex(c);
    if (c >= '1' && c <= '7') return lightPointIndex(c);
    return std::nullopt;
}

// A double that must become a 32-bit whole coordinate; none when it cannot.
std::optional<std::int32_t> toLong(double value) {
    const double r = roundHalfEven(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

}  // namespace

std::int32_t verticalOffset(std::string_view direc) {
    return signV(direc) * kSpacing;
}
std::int32_t horizontalOffset(std::string_view direc) {
    return signH(direc) * kSpacing;
}
std::int32_t verticalOffsetBy(std::string_view direc, std::int32_t off) {
    return signV(direc) * off;
}
std::int32_t horizontalOffsetBy(std::string_view direc, std::int32_t off) {
    return signH(direc) * off;
}

void MovementCompiler::moveSpecial(std::int16_t officer, std::string_view direc,
                                   std::string_view modifier) {
    const std::optional<int> point = pointTarget(modifier);

    if (isCompassWord(direc)) {
        // Two straight walks, West-East first, to beside the target on side direc.
        if (point) {
            const FloorPoint& p = m_room.point(*point);
            walkStraight(officer, p.y + verticalOffset(direc), true);
            walkStraight(officer, p.x + horizontalOffset(direc), false);
            return;
        }
        const std::int16_t target = m_room.findOfficer(modifier);
        if (target < 0) {
            fail("Unknown officer: ", modifier);
            return;
        }
        // The target's position is read for each leg: it may be the walker himself.
        if (auto y =
                toLong(static_cast<double>(m_room.officer(target).curY) + verticalOffset(direc))) {
            walkStraight(officer, *y, true);
        }
        if (auto x = toLong(static_cast<double>(m_room.officer(target).curX) +
                            horizontalOffset(direc))) {
            walkStraight(officer, *x, false);
        }
        return;
    }

    if (direc == "DIAG") {
        if (!point) {
            fail("Unknown location: ", modifier);
            return;
        }
        const FloorPoint& p = m_room.point(*point);
        walkDiagonal(officer, p.x, p.y);
        return;
    }

    if (direc == "AT") {
        if (modifier == "X") {
            moveX(officer, true);
        } else if (modifier == "Z") {
            moveZ(officer, true);
        } else if (point) {
            const FloorPoint& p = m_room.point(*point);
            place(officer, p.x, p.y);
        } else {
            report("Unknown location: ", modifier, Field::Direction, false);  // the run goes on
        }
        return;
    }

    const bool diagonal = direc.substr(0, 5) == "DIAG_";
    if (!diagonal && direc.substr(0, 3) != "AT_") return;  // unknown keyword: nothing at all
    const std::string_view w = direc.substr(diagonal ? 5 : 3);

    // Resolve the target: a point or light, or an officer, with an optional
    // offset suffix "+word+distance".
    std::optional<int> targetPoint;
    std::int16_t targetOfficer = -1;
    std::int32_t extraX = 0;
    std::int32_t extraY = 0;
    const std::size_t p1 = modifier.find('+');
    if (p1 != std::string_view::npos) {
        const std::string_view name = modifier.substr(0, p1);
        std::size_t p2 = std::string_view::npos;
        if (name.size() >= 2) {
            targetOfficer = m_room.findOfficer(name);
            if (targetOfficer < 0) {
                fail("Unknown officer: ", name);
                return;
            }
            p2 = modifier.find('+', p1 + 1);
            if (p2 == std::string_view::npos) {
                fail("Unknown offset: ", modifier);
                return;
            }
        } else {
            p2 = modifier.find('+', p1 + 1);
            if (p2 == std::string_view::npos) {
                fail("Unknown offset: ", modifier);
                return;
            }
            targetPoint = pointTarget(name);
            if (!targetPoint) {
                fail("Unknown point: ", name);
                return;
            }
        }
        const std::string_view word = modifier.substr(p1 + 1, p2 - p1 - 1);
        const double n = roundHalfEven(leadingNumber(modifier.substr(p2 + 1)));
        // A distance that does not fit 16 bits makes the whole step do nothing.
        if (!(n >= std::numeric_limits<std::int16_t>::min() &&
              n <= std::numeric_limits<std::int16_t>::max())) {
            return;
        }
        extraX = horizontalOffsetBy(word, static_cast<std::int32_t>(n));
        extraY = verticalOffsetBy(word, static_cast<std::int32_t>(n));
    } else if (point) {
        targetPoint = point;
    } else {
        targetOfficer = m_room.findOfficer(modifier);
        if (targetOfficer < 0) {
            fail("Unknown officer: ", modifier);
            return;
        }
    }

    const std::int32_t dx = horizontalOffset(w) + extraX;
    const std::int32_t dy = verticalOffset(w) + extraY;
    if (targetPoint) {
        const FloorPoint& p = m_room.point(*targetPoint);
        if (diagonal) {
            walkDiagonal(officer, p.x + dx, p.y + dy);
        } else {
            place(officer, p.x + dx, p.y + dy);
        }
        return;
    }
    const auto& t = m_room.officer(targetOfficer);
    const double x = static_cast<double>(t.curX) + dx;
    const double y = static_cast<double>(t.curY) + dy;
    if (diagonal) {
        const auto lx = toLong(x);
        const auto ly = toLong(y);
        if (lx && ly) walkDiagonal(officer, *lx, *ly);
    } else {
        // Placements next to an officer keep his fraction, in single precision.
        place(officer, static_cast<float>(x), static_cast<float>(y));
    }
}

}  // namespace velistrad
