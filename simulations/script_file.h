// Script files (.vsim): the editor's script as plain text, so scripts can be
// kept, mailed and opened like any other document. No Qt here.
//
// Reading is lenient: a UTF-8 byte order mark is dropped, text that is not
// UTF-8 is taken as Windows-1252 (as custom.sim is), and CR LF or a lone CR
// becomes LF, the only line break the editor holds. Writing stores the text
// exactly, through the safe replacement of the whole file.
//
// Both return a message for the user when they fail, and an empty string
// otherwise; a failed read or write leaves everything as it was.
#pragma once

#include <cstddef>
#include <string>

namespace velistrad {

inline constexpr const char* kScriptFileExtension = ".vsim";
// Far beyond any script that could play, small enough to read at once.
inline constexpr std::size_t kMaxScriptFileBytes = 16 * 1024 * 1024;

// The bytes of a script file as they stand, for the window and the
// command-line tool alike. Refuses at once, without reading, what is not a
// regular file (a FIFO, a device such as /dev/zero, a folder) and a file
// larger than kMaxScriptFileBytes. Returns why it was refused, in words
// ("it is not a regular file"), or an empty string.
std::string readScriptBytes(const std::string& path, std::string& bytes);

std::string readScriptFile(const std::string& path, std::string& text);
std::string writeScriptFile(const std::string& path, const std::string& text);

}  // namespace velistrad
