// Reading and replacing a whole file so that a kill, a crash or a full disk
// at any moment leaves either the old or the new content, never a mix, a cut
// file or an empty one. POSIX only.
//
// Every function returns the reason it failed, in words for the user ("No
// space left on device", with what was being done), or an empty string.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velistrad {

// The whole file; nullopt with an empty `error` when it does not exist.
std::optional<std::string> readWholeFile(const std::string& path, std::string& error);

// The file a symbolic link at `path` points to, so that saving replaces the
// file and keeps the link; `path` itself when it is no link.
std::string followLink(const std::string& path);

// Writes `bytes` to a new file in the folder of `path`, flushes it to disk
// and renames it over `path`. The old file is never opened for writing: on
// any failure it stays as it was and the new file is removed. An existing
// file keeps its permission bits (and, for root, its owner); one that the
// caller may not write is refused rather than replaced.
std::string replaceFile(const std::string& path, std::string_view bytes);

// Keeps the file at `path` under a new name beside it: path.bak, or .bak.2,
// .bak.3, ... when those are taken, never overwriting one. A hard link is
// tried first, so a file nobody may read is kept as well; a copy otherwise.
// `backup` receives the name used.
std::string keepBackup(const std::string& path, std::string& backup);

}  // namespace velistrad
