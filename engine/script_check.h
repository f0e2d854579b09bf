// What an editor and the command line need to know about a script without
// playing it: the problems Play would report, which field of which entry
// every byte belongs to, and the route an entry walks.
//
// Everything is worked out by the code Play runs, from where the officers
// stand (as Play starts from there), on a copy of the room: nothing here
// moves an officer that anyone sees.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script_runner.h"

namespace velistrad {

struct CheckResult {
    // The messages Play would show, in its order, each once for the entry
    // that raises it (Play repeats some frame after frame).
    std::vector<Diagnostic> problems;
    bool plays = true;  // false: an entry fails and nothing would play
};
CheckResult checkScript(const ChapterRoom& from, std::string_view text);

// A text that starts with a UTF-8 byte-order mark, without it.
std::string_view withoutByteOrderMark(std::string_view text);

// 1-based line and column (in characters) of a byte offset.
struct TextPlace {
    std::size_t line = 1;
    std::size_t column = 1;
};
TextPlace placeOf(std::string_view text, std::size_t offset);

// The entry's first character that is not a blank or a line break (its
// first byte when it has none), given its fields as typed.
std::size_t entryStart(std::string_view text, const std::array<FieldSpan, 3>& raw);
// Where the fields of whole entry `n` (0-based) lie; nothing when there is none.
std::optional<std::array<FieldSpan, 3>> entryFields(std::string_view text, std::size_t n);

inline constexpr const char* kIncompleteEntryText =
    "An entry needs an officer, a direction and a time: Play ignores this one.";
// The fields after the last whole entry when they hold more than blanks;
// nothing when there are none.
std::optional<Diagnostic> incompleteEntry(std::string_view text);

// Each problem as "ENTRY:LINE:COLUMN: MESSAGE", at the entry's first
// character. Reads the text once, keeping only the entries it names, so that
// a script of millions of entries takes no more memory.
std::vector<std::string> problemLines(std::string_view text, const CheckResult& check);

// What Play accepts without a word but not as written (the editor's yellow
// marks): an unknown or missing timing word, entry by entry, then the fields
// at the end that make no whole entry. Each is given to `line` as
// "ENTRY:LINE:COLUMN: warning: MESSAGE", at the field's first character, as
// it is found: a script may hold millions.
void warningLines(std::string_view text, const std::function<void(const std::string&)>& line);

// One field of the script as typed, for colouring: complete entries and the
// fields of an incomplete one at the end alike.
enum class FieldStyle : std::uint8_t {
    Officer,
    Direction,
    Time,
    Delay,    // the Direction word of a pause
    Error,    // cannot be right: Play reports it
    Warning,  // Play accepts it, but not as written (an unknown timing word)
};
struct FieldMark {
    std::size_t start = 0;  // bytes [start, end) of the script
    std::size_t end = 0;
    FieldStyle style = FieldStyle::Officer;
    std::size_t entry = 0;  // 0-based
    std::string message;    // for Error and Warning
};
// Every field, in order, then the Error and Warning marks over them.
std::vector<FieldMark> fieldMarks(std::string_view text, const CheckResult& check);

// "entry 3 of 7 · SC · XZE-N-Ch- · Simult" for the entry holding the byte
// offset, or "7 entries" where there is none.
std::string entryAtText(std::string_view text, std::size_t offset);
// `entry 3, "Ch, XZQ, Now": Unknown direction: Q`, a problem with its entry.
std::string problemText(std::string_view text, const Diagnostic& d);
// 0-based index of the entry holding the byte offset; npos outside entries.
std::size_t entryAt(std::string_view text, std::size_t offset);

// The path an entry walks, officer by officer, starting where he stands
// before it; and the stations and floor points it passes.
struct Route {
    int officer = 0;
    std::vector<std::pair<float, float>> points;  // twips
};
struct EntryRoute {
    std::vector<Route> routes;
    std::vector<int> stations;  // officers whose stations it passes
    std::vector<int> points;    // floor points it passes
};
EntryRoute entryRoute(const ChapterRoom& from, std::string_view text, std::size_t entry);

}  // namespace velistrad
