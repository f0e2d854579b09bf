// Reading and replacing a whole file so that a kill, a crash or a full disk
// at any moment leaves either the old or the new content, never a mix, a cut
// file or an empty one. POSIX only.
//
// Every function returns the reason it failed, in words for the user ("No
// space left on device", with what was being done), or an empty string.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velistrad {

// The whole file; nullopt with an empty `error` when it does not exist. Only
// a regular file is read, and only up to `maxBytes`: a FIFO would hold the
// caller before anything shows, /dev/zero would fill memory, so both are
// refused at once, by what the file is rather than by reading it.
std::optional<std::string> readWholeFile(const std::string& path, std::string& error,
                                         std::size_t maxBytes = SIZE_MAX);

// Why a new file cannot be made at `path` whatever its content: "the folder
// X does not exist" or "X is not a folder"; empty when its folder is there.
std::string folderProblem(const std::string& path);

// The file a symbolic link at `path` points to, so that saving replaces the
// file and keeps the link; `path` itself when it is no link.
std::string followLink(const std::string& path);

// Writes `bytes` to a new file in the folder of `path`, flushes it to disk
// and renames it over `path`. The old file is never opened for writing: on
// any failure it stays as it was and the new file is removed. An existing
// file keeps its permission bits (and, for root, its owner), plus
// `addedMode`; one that the caller may not write is refused rather than
// replaced. New files that earlier saves left behind when they were killed
// are removed first.
//
// The error returned means the file was not replaced. Once it has been, a
// failure to flush the folder (the rename may not survive a power cut) goes
// to `unflushed` when given; a folder that may not be read cannot be
// flushed at all, as on file systems without folder flushing, and is not
// reported.
std::string replaceFile(const std::string& path, std::string_view bytes,
                        std::string* unflushed = nullptr, unsigned addedMode = 0);

// Keeps the file at `path` under a new name beside it: path.bak, or .bak.2,
// .bak.3, ... when those are taken, never overwriting one. A hard link is
// tried first, so a file nobody may read is kept as well; a copy otherwise.
// `backup` receives the name used.
std::string keepBackup(const std::string& path, std::string& backup);

// Holds the folder of `path` for one writer at a time, among processes and
// within one, while it lives: a read, change and replace of a file shared by
// several windows. Where the folder cannot be opened (one that may be written
// but not read) there is no lock, and saving goes on without it.
class FolderLock {
public:
    explicit FolderLock(const std::string& path);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

}  // namespace velistrad
