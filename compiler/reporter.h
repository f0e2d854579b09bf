// How the compiler hands a message to the user without knowing how it is
// shown: the window shows a message box and waits for OK, the command-line
// tool prints a line, tests record it. Each message says which field of the
// entry it is about and where in that field, so an editor can point at it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velistrad {

enum class Field : std::uint8_t { Officer, Direction, Time, Entry };

struct CompileMessage {
    std::string text;  // exactly as shown
    Field field;
    std::size_t offset;  // of the offending text in the cleaned field
    std::size_t length;
    bool stops;  // the entry cannot be compiled: the run is abandoned
};

class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void message(const CompileMessage& m) = 0;
};

// For compiling where nobody is told: a preview, a second look.
class SilentReporter : public Reporter {
public:
    void message(const CompileMessage&) override {}
};

// The text with every byte that would not show in a message (control
// characters, bytes that are not UTF-8) written as \xNN, and every
// character that shows nothing or looks like a blank (zero-width space,
// bidirectional marks, NEL, soft hyphen, byte-order mark ...) as its code
// point, "[U+200B]"; every other character as itself.
std::string visibleText(std::string_view text);

// Bytes of the character at text[pos]: its UTF-8 sequence, or 1 for a byte
// that starts none.
std::size_t characterLength(std::string_view text, std::size_t pos);

}  // namespace velistrad
