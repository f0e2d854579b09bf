// Compiles one script entry (an officer field and a Direction field, already
// cleaned and upper-cased) into that officer's path: one record per animation
// frame at a pace of 20 twips per frame.
//
// A walk record closes one frame; a placement joins the frame that the next
// walk record closes (see compiler/path_record.h). Coordinates are twips (see
// model/chapter_room.h).
//
// The compiler advances the officers' current positions in the room it was
// given, so each entry starts where the previous one left its officer. It
// shows nothing itself: messages go to the Reporter, and `failed` is raised
// on the errors that must stop a run. Not re-entrant; one entry at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "compiler/path_record.h"
#include "compiler/reporter.h"
#include "model/chapter_room.h"

namespace velistrad {

class MovementCompiler {
public:
    MovementCompiler(ChapterRoom& room, Reporter& reporter);

    // One whole entry; empties the path first.
    void compileEntry(std::string_view officers, std::string_view direc);

    // One lettered step to point index 0..21.
    void stepToPoint(std::int16_t officer, std::int16_t direc);

    // A Direction that begins with "-AT", for one officer, a "+" list or "ALL".
    void relocate(std::string_view officers, std::string_view direc);

    // One special step: keyword `direc`, target `modifier`.
    void moveSpecial(std::int16_t officer, std::string_view direc, std::string_view modifier);

    // Straight walk along y (vert) or x to the whole coordinate dest.
    void walkStraight(std::int16_t officer, std::int32_t dest, bool vert);

    // Diagonal walk to (x, y); writes nothing when already there.
    void walkDiagonal(std::int16_t officer, std::int32_t x, std::int32_t y);

    // To the officer's band point or station: walked, or placed at once when
    // relocate is true.
    void moveZ(std::int16_t officer, bool relocate);
    void moveX(std::int16_t officer, bool relocate);

    const Path& path() const { return m_path; }
    // Empties the path, handing over what it held.
    Path takePath() { return std::exchange(m_path, Path()); }

    ChapterRoom& room() { return m_room; }

    // Raised by errors that stop a run.
    bool failed() const { return m_failed; }
    void clearError() { m_failed = false; }

    // At most this many records more: a script that would make more frames
    // than any real movement stops early instead of exhausting memory. Once
    // passed, nothing more is written and overLimit() tells.
    void limitRecords(std::size_t records) { m_recordLimit = records; }
    bool overLimit() const { return m_overLimit; }

private:
    void report(std::string_view prefix, std::string_view text, Field field, bool stops);
    void fail(std::string_view prefix, std::string_view text, Field field = Field::Direction);
    bool writable();
    template <typename X, typename Y>
    void writeWalk(std::int16_t officer, X x, Y y);
    template <typename X, typename Y>
    void place(std::int16_t officer, X x, Y y);

    ChapterRoom& m_room;
    Reporter& m_reporter;
    Path m_path;
    bool m_failed = false;
    std::size_t m_recordLimit = static_cast<std::size_t>(-1);
    bool m_overLimit = false;
    // The fields of the entry being compiled, to place messages in them.
    std::string_view m_officerField;
    std::string_view m_direction;
};

// Compass spacing of the next-to steps (300 twips) and of offsets (off twips),
// y and x components. Any text that is not a compass word acts as "NW".
std::int32_t verticalOffset(std::string_view direc);
std::int32_t horizontalOffset(std::string_view direc);
std::int32_t verticalOffsetBy(std::string_view direc, std::int32_t off);
std::int32_t horizontalOffsetBy(std::string_view direc, std::int32_t off);

}  // namespace velistrad
