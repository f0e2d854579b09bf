// From script text to the one timeline that Play shows.
//
// A script is a flat list of fields separated by ",", read three at a time:
// Officer, Direction, Time. Every field is cleaned (blanks and line breaks
// removed, upper-cased). Entries are compiled in order and composed by their
// timing word: Now (and any unknown word), After, Simult, Unsync; an entry
// whose Direction is DELAY adds a pause of Time seconds. There is no limit on
// the number of entries or frames but memory.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/movement_compiler.h"
#include "engine/timeline.h"

namespace velistrad {

inline constexpr const char* kResetScript = "ALL,-AT-X-,Now";

struct ScriptEntry {
    std::string Officer;
    std::string Direction;
    std::string Time;
};

// The played timeline and which of its frames are delay frames. A delay frame
// may have Unsync triples joined onto it ("1.0,3,100,200"); knowing its index
// lets playback keep the wait and still draw those positions.
struct Composition {
    Timeline mainline;
    std::vector<std::size_t> delayFrames;  // ascending
};

// Removes blanks, carriage returns and line feeds; everything else stays.
std::string TrimAll(std::string_view x);

// Splits at every ",", cleans and upper-cases each field; trailing fields that
// do not complete an entry are dropped.
std::vector<ScriptEntry> splitScript(std::string_view text);

// "Error occurred while processing: OFFICER, DIRECTION, TIME".
std::string errorDetailsText(const ScriptEntry& entry);

// Compiles and composes every entry. On the first failing entry (the
// compiler's `simerror`), calls onError with its error details text and
// returns nothing. Clears `simerror` first.
std::optional<Composition> composeScript(MovementCompiler& compiler,
                                         const std::vector<ScriptEntry>& entries,
                                         const std::function<void(const std::string&)>& onError);

}  // namespace velistrad
