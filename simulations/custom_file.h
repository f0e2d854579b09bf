// The custom simulation file, custom.sim, as bytes: reading is lenient,
// writing is strict. No Qt here, so the loader can be fuzzed and the
// command-line tool could use it.
//
// Layout: records of a header line ("----------" + name) followed by the
// script in lines of at most 100 characters; every line ends with CR LF.
// Reading takes any line beginning with "---" as a header (the name is the
// text after its last "-"), joins a record's other lines with nothing between
// them, drops lines before the first header, and stops at the 21st header.
// A script that itself begins with "---" is written with one blank in front,
// which reading drops again: on a record's first script line, a single blank
// followed by "---" is that escape. A script beginning " ---" is written
// after an empty line so that its blank is not taken for the escape.
// Text is UTF-8 in memory. Files are read as UTF-8 when they are valid UTF-8
// and as Windows-1252 otherwise; they are written as Windows-1252 when every
// character fits, else as UTF-8, so no character is ever lost.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velistrad {

inline constexpr std::size_t kMaxCustomSimulations = 20;

struct CustomSimulation {
    std::string name;    // UTF-8
    std::string script;  // UTF-8
    bool operator==(const CustomSimulation&) const = default;
};

struct CustomFileContents {
    std::vector<CustomSimulation> simulations;  // at most 20, in file order
    bool tooMany = false;                       // a 21st header was met; reading stopped there
    bool preamble = false;  // text other than line ends before the first header was dropped
    bool namesCut = false;  // a header held text before its name's last hyphen, which was dropped
};

CustomFileContents parseCustomFile(std::string_view bytes);
std::string serializeCustomFile(const std::vector<CustomSimulation>& simulations);

// Any text file read as custom.sim is: UTF-8 without its byte order mark when
// it is valid UTF-8, else Windows-1252; the result is UTF-8.
std::string decodeTextFile(std::string_view bytes);

}  // namespace velistrad
