// From script text to the one timeline that Play shows.
//
// A script is a flat list of fields separated by ",", read three at a time:
// Officer, Direction, Time. Every field is cleaned (blanks and line breaks
// removed, upper-cased). Entries are compiled in order and composed by their
// timing word: Now (and any unknown word), After, Simult, Unsync; an entry
// whose Direction is DELAY adds a pause of Time seconds.
//
// Every message goes to one DiagnosticSink as a record that says which entry,
// which field and which bytes of the script text it is about.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/path_record.h"
#include "compiler/reporter.h"
#include "engine/diagnostic.h"
#include "engine/played_timeline.h"
#include "model/chapter_room.h"

namespace velistrad {

inline constexpr const char* kResetScript = "ALL,-AT-X-,Now";

// More steps than any real movement takes (the longest built-in one has a
// few thousand; a step is one officer's position in one frame): 4,000,000
// frames play for over a day at Medium. A script that would take more is
// refused while it compiles, before it can exhaust the memory.
inline constexpr std::size_t kMaxRunFrames = 4'000'000;

// A field's bytes in the script text: [start, end).
struct FieldSpan {
    std::size_t start = 0;
    std::size_t end = 0;
};

struct ScriptEntry {
    std::string officer;
    std::string direction;
    std::string time;
    std::array<FieldSpan, 3> raw;  // Officer, Direction, Time as typed
};

// Removes blanks, carriage returns and line feeds; everything else stays.
std::string trimAll(std::string_view x);
bool removedByTrimAll(char c);
// A field as an entry holds it: trimAll, then ASCII letters upper-cased.
std::string cleanField(std::string_view field);

// Reads the entries of a script one at a time; trailing fields that do not
// complete an entry are dropped.
class ScriptReader {
public:
    explicit ScriptReader(std::string_view text) : m_text(text), m_done(text.empty()) {}
    bool next(ScriptEntry& entry);

private:
    std::string_view m_text;
    std::size_t m_start = 0;
    bool m_done;
};

std::vector<ScriptEntry> splitScript(std::string_view text);

// "Error occurred while processing: OFFICER, DIRECTION, TIME".
std::string errorDetailsText(const ScriptEntry& entry);

// Compiles and composes every entry from the officers' current positions,
// which it advances. On the first failing entry, or when the script would
// take more than frameLimit steps, reports it and returns null: nothing is
// played.
std::shared_ptr<PlayedTimeline> composeScript(ChapterRoom& room, std::string_view text,
                                              DiagnosticSink& sink,
                                              std::size_t frameLimit = kMaxRunFrames);

// Where every officer stands, by officer index: x and y in twips.
using Standing = std::array<std::pair<float, float>, kOfficerCount>;

// Compiles the entries of a script one after the other from where the room's
// officers stand, moving them on, as Play does before composing; a pause
// compiles to nothing. visit(index, path, before) is told of each compiled
// entry (0-based) with where everyone stood before it, and returns false to
// stop there. Returns false at an entry that fails or would take more than
// recordLimit steps, which is not visited.
using EntryVisit = std::function<bool(std::size_t index, const Path& path, const Standing& before)>;
bool compileEntries(ChapterRoom& room, std::string_view text, std::size_t recordLimit,
                    const EntryVisit& visit);

// 1234567 as "1,234,567", or with another separator ("1 234 567").
std::string withThousands(std::size_t n, char separator = ',');

}  // namespace velistrad
