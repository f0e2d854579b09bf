#include "compiler/movement_compiler.h"

#include "model/number_text.h"

namespace velistrad {

MovementCompiler::MovementCompiler(ChapterRoom& room, Reporter& reporter)
    : m_room(room), m_reporter(reporter) {}

void MovementCompiler::report(std::string_view prefix, std::string_view text) {
    std::string message(prefix);
    message += text;
    m_reporter.message(message);
}

void MovementCompiler::fail(std::string_view prefix, std::string_view text) {
    report(prefix, text);
    simerror = true;
}

namespace {

char* writeCoordinate(char* out, float value) {
    return writeSingle(out, value);
}
char* writeCoordinate(char* out, std::int32_t value) {
    return writeLong(out, value);
}

// One record is built on the stack and appended at once: the path grows by
// many thousands of records for a long script.
template <typename X, typename Y>
void appendRecord(std::string& out, std::int16_t officer, X x, Y y, char terminator) {
    char buffer[3 * kMaxNumberText + 3];
    char* p = writeLong(buffer, officer);
    *p++ = ',';
    p = writeCoordinate(p, x);
    *p++ = ',';
    p = writeCoordinate(p, y);
    *p++ = terminator;
    out.append(buffer, p);
}

}  // namespace

template <typename X, typename Y>
void MovementCompiler::writeWalk(std::int16_t officer, X x, Y y) {
    appendRecord(m_path, officer, x, y, '|');
}

// Intermediate frames are single values; a walk's last frame writes its
// whole-number destination on the axes it walked.
template void MovementCompiler::writeWalk(std::int16_t, float, float);
template void MovementCompiler::writeWalk(std::int16_t, std::int32_t, float);
template void MovementCompiler::writeWalk(std::int16_t, float, std::int32_t);
template void MovementCompiler::writeWalk(std::int16_t, std::int32_t, std::int32_t);

template <typename X, typename Y>
void MovementCompiler::place(std::int16_t officer, X x, Y y) {
    appendRecord(m_path, officer, x, y, ',');
    Officer& o = m_room.officer(officer);
    o.curX = static_cast<float>(x);
    o.curY = static_cast<float>(y);
}

template void MovementCompiler::place(std::int16_t, std::int32_t, std::int32_t);
template void MovementCompiler::place(std::int16_t, float, float);

}  // namespace velistrad
