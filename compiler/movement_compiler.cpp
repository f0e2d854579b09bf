#include "compiler/movement_compiler.h"

namespace velistrad {

MovementCompiler::MovementCompiler(ChapterRoom& room, Reporter& reporter)
    : m_room(room), m_reporter(reporter) {}

void MovementCompiler::report(std::string_view prefix, std::string_view text, Field field,
                              bool stops) {
    CompileMessage m{std::string(prefix) + visibleText(text), field, 0, 0, stops};
    // The offending text is a piece of the field when it can be placed there
    // (an empty piece, such as a missing target, by where it is missing);
    // otherwise the message is about the whole field.
    const std::string_view within = field == Field::Officer ? m_officerField : m_direction;
    if (text.data() >= within.data() &&
        text.data() + text.size() <= within.data() + within.size() &&
        !(text.empty() && within.empty())) {
        m.offset = static_cast<std::size_t>(text.data() - within.data());
        m.length = text.size();
    } else {
        m.length = within.size();
    }
    m_reporter.message(m);
}

void MovementCompiler::fail(std::string_view prefix, std::string_view text, Field field) {
    report(prefix, text, field, true);
    m_failed = true;
}

bool MovementCompiler::writable() {
    if (m_path.size() < m_recordLimit) return true;
    m_overLimit = true;
    return false;
}

template <typename X, typename Y>
void MovementCompiler::writeWalk(std::int16_t officer, X x, Y y) {
    if (writable()) m_path.push_back({makeTriple(officer, x, y), false});
}

// Intermediate frames are single values; a walk's last frame writes its
// whole-number destination on the axes it walked.
template void MovementCompiler::writeWalk(std::int16_t, float, float);
template void MovementCompiler::writeWalk(std::int16_t, std::int32_t, float);
template void MovementCompiler::writeWalk(std::int16_t, float, std::int32_t);
template void MovementCompiler::writeWalk(std::int16_t, std::int32_t, std::int32_t);

template <typename X, typename Y>
void MovementCompiler::place(std::int16_t officer, X x, Y y) {
    if (writable()) m_path.push_back({makeTriple(officer, x, y), true});
    Officer& o = m_room.officer(officer);
    o.curX = static_cast<float>(x);
    o.curY = static_cast<float>(y);
}

template void MovementCompiler::place(std::int16_t, std::int32_t, std::int32_t);
template void MovementCompiler::place(std::int16_t, float, float);

}  // namespace velistrad
