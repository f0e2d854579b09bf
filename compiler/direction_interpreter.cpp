// Walks a Direction string step by step and hands each step to its generator.
#include "compiler/movement_compiler.h"

namespace velistrad {

void MovementCompiler::compileEntry(std::string_view officers, std::string_view direc) {
    m_path.clear();
    m_officerField = officers;
    m_direction = direc;
    if (direc.substr(0, 3) == "-AT") {
        relocate(officers, direc);
        return;
    }
    const std::int16_t who = m_room.findOfficer(officers);
    if (who < 0) {
        fail("Unknown officer: ", officers, Field::Officer);
        return;
    }
    if (direc.empty()) {
        fail("Bad direction: ", direc);
        return;
    }
    for (std::size_t i = 0; i < direc.size() && !m_overLimit; ++i) {
        const char c = direc[i];
        if (c == 'Z') {
            moveZ(who, false);
        } else if (c == 'X') {
            moveX(who, false);
        } else if (c == '-') {
            const std::size_t p2 = direc.find('-', i + 1);
            const std::size_t p3 = p2 == std::string_view::npos ? p2 : direc.find('-', p2 + 1);
            if (p3 == std::string_view::npos) {
                fail("Bad direction: ", direc);
                return;
            }
            moveSpecial(who, direc.substr(i + 1, p2 - i - 1), direc.substr(p2 + 1, p3 - p2 - 1));
            i = p3;  // scanning goes on after the closing "-"
        } else {
            const int point = static_cast<unsigned char>(c) - 'A';
            if (point < 0 || point > 'V' - 'A') {
                // The whole character, not its first byte: "É", not "\xC3".
                fail("Unknown direction: ", direc.substr(i, characterLength(direc, i)));
                return;
            }
            stepToPoint(who, static_cast<std::int16_t>(point));
        }
    }
}

void MovementCompiler::stepToPoint(std::int16_t officer, std::int16_t direc) {
    const auto& who = m_room.officer(officer);
    const FloorPoint& p = m_room.point(direc);
    // Exact comparisons: a fractional position always takes the L-shaped walk.
    if (who.curX == static_cast<float>(p.x)) {
        walkStraight(officer, p.y, true);
    } else if (who.curY == static_cast<float>(p.y)) {
        walkStraight(officer, p.x, false);
    } else {
        walkStraight(officer, p.x, false);
        walkStraight(officer, p.y, true);
    }
}

void MovementCompiler::relocate(std::string_view officers, std::string_view direc) {
    const std::size_t p2 = direc.find('-', 1);
    const std::size_t p3 = p2 == std::string_view::npos ? p2 : direc.find('-', p2 + 1);
    if (p3 == std::string_view::npos) {
        // Reported, but the run goes on: nobody moves.
        report("Bad direction: ", direc, Field::Direction, false);
        return;
    }
    const std::string_view keyword = direc.substr(1, p2 - 1);
    const std::string_view target = direc.substr(p2 + 1, p3 - p2 - 1);
    if (officers == "ALL") {
        for (std::int16_t k = 0; k < kOfficerCount; ++k) moveSpecial(k, keyword, target);
        return;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = officers.find('+', start);
        const std::string_view name = officers.substr(start, plus - start);
        const std::int16_t who = m_room.findOfficer(name);
        if (who >= 0) moveSpecial(who, keyword, target);  // unknown names: silently skipped
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
}

}  // namespace velistrad
