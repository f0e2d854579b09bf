#include "simulations/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace velistrad {

namespace {

std::string reason(int error) {
    return std::strerror(error);
}

// "16 MB" for a whole number of megabytes, else the bytes.
std::string sizeInWords(std::size_t bytes) {
    constexpr std::size_t kMegabyte = 1024 * 1024;
    if (bytes % kMegabyte == 0) return std::to_string(bytes / kMegabyte) + " MB";
    return std::to_string(bytes) + " bytes";
}

// The folder holding `path`, for the new file and for flushing the rename.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Writes all of `bytes`, going on after partial writes and interruptions.
bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {  // no progress and no reason given: do not spin
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

int fsyncRetrying(int fd) {
    int r;
    do r = ::fsync(fd);
    while (r != 0 && errno == EINTR);
    return r;
}

// Makes a rename or a new link in `folder` survive a power cut. File systems
// that cannot flush a folder say so with EINVAL; there is nothing more to do.
std::string flushFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    // A folder that may be written but not read (mode 0300) cannot be opened
    // to flush it; the rename stands all the same.
    if (fd < 0 && (errno == EACCES || errno == EPERM)) return {};
    if (fd < 0)
        return "the folder " + folder + " could not be opened to flush it: " + reason(errno);
    const int r = fsyncRetrying(fd);
    const int error = errno;
    ::close(fd);
    if (r != 0 && error != EINVAL)
        return "the folder " + folder + " could not be flushed: " + reason(error);
    return {};
}

// Writes, flushes and closes `fd`; closes it in every case.
std::string finishFile(int fd, std::string_view bytes) {
    std::string error;
    if (!writeAll(fd, bytes)) {
        error = "writing failed: " + reason(errno);
    } else if (fsyncRetrying(fd) != 0) {
        error = "flushing to disk failed: " + reason(errno);
    }
    // Linux closes the descriptor even when close reports EINTR.
    if (::close(fd) != 0 && errno != EINTR && error.empty()) {
        error = "closing failed: " + reason(errno);
    }
    return error;
}

// The new files of earlier saves that were killed before renaming them:
// ".NAME.new-PID-N" beside `path` whose process is gone. A folder that
// cannot be listed keeps them.
void removeLeftovers(const std::string& path) {
    const std::string base = path.substr(path.rfind('/') + 1);
    const std::string prefix = "." + base + ".new-";
    DIR* folder = ::opendir(folderOf(path).c_str());
    if (folder == nullptr) return;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name.substr(0, prefix.size()) != prefix) continue;
        const std::string_view rest = name.substr(prefix.size());
        long pid = 0;
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
        if (ec != std::errc() || end == rest.data() + rest.size() || *end != '-' || pid <= 0)
            continue;
        if (pid == ::getpid() || ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;  // its saver may still be at work
        ::unlinkat(::dirfd(folder), entry->d_name, 0);
    }
    ::closedir(folder);
}

// A name beside `path` that no file has, created empty with O_EXCL so that
// no other writer can share it; -1 with errno set when the folder refuses.
int createBeside(const std::string& path, std::string& created, mode_t mode) {
    static unsigned counter = 0;
    const std::string folder = folderOf(path);
    const std::string base = path.substr(path.rfind('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        created = folder + "/." + base + ".new-" + std::to_string(::getpid()) + "-" +
                  std::to_string(++counter);
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Copies `from` into a new file `to`; false with errno set, and nothing
// left at `to`, on failure.
bool copyInto(const std::string& from, const std::string& to) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st {};
    int error = 0;
    int out = -1;
    if (::fstat(in, &st) != 0) {
        error = errno;
    } else {
        out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
        if (out < 0) error = errno;
    }
    char buffer[65536];
    while (error == 0) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        if (!writeAll(out, std::string_view(buffer, static_cast<std::size_t>(n)))) error = errno;
    }
    if (error == 0 && fsyncRetrying(out) != 0) error = errno;
    ::close(in);
    if (out >= 0 && ::close(out) != 0 && errno != EINTR && error == 0) error = errno;
    if (error != 0 && out >= 0) ::unlink(to.c_str());
    errno = error;
    return error == 0;
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::string& error,
                                         std::size_t maxBytes) {
    error.clear();
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) error = "it could not be opened: " + reason(errno);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = "it could not be examined: " + reason(errno);
    } else if (!S_ISREG(st.st_mode)) {
        error = "it is not a regular file";
    } else if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        error = "it is larger than " + sizeInWords(maxBytes);
    } else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        error = "it could not be read: " + reason(errno);
    }
    std::string bytes;
    char buffer[65536];
    while (error.empty()) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = "it could not be read: " + reason(errno);
        if (n <= 0) break;
        // A file that grows while it is read is held to the same bound.
        if (static_cast<std::size_t>(n) > maxBytes - bytes.size()) {
            error = "it is larger than " + sizeInWords(maxBytes);
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!error.empty()) return std::nullopt;
    return bytes;
}

std::string folderProblem(const std::string& path) {
    const std::string folder = folderOf(path);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR
                   ? "the folder " + folder + " does not exist"
                   : "the folder " + folder + " cannot be reached: " + reason(errno);
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder";
    return {};
}

std::string followLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char* target = ::realpath(path.c_str(), nullptr);
    if (target == nullptr) return path;  // a dangling link is replaced like a file
    std::string resolved = target;
    std::free(target);
    return resolved;
}

std::string replaceFile(const std::string& path, std::string_view bytes, std::string* unflushed,
                        unsigned addedMode) {
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return "it could not be examined: " + reason(errno);
    if (exists && !S_ISREG(old.st_mode)) return "it is not a regular file";
    // Root may write anything; anyone else is held to the file's mode, as
    // writing it in place would be.
    if (exists && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return "the file is read-only: " + reason(errno);
    }

    const std::string folder = folderOf(path);
    removeLeftovers(path);
    std::string temporary;
    // A new file gets the mode the process would give it by creating it.
    const int fd = createBeside(path, temporary, exists ? S_IRUSR | S_IWUSR : 0666);
    if (fd < 0) {
        return "the folder " + folder + " takes no new files (" + reason(errno) +
               "), and the file is never rewritten in place, where a failed save would destroy "
               "it";
    }
    std::string error;
    if (exists) {
        // Owner first: changing it clears set-user-ID bits that the mode then restores.
        if (::geteuid() == 0) (void)!::fchown(fd, old.st_uid, old.st_gid);
        if (::fchmod(fd, (old.st_mode | addedMode) & 07777) != 0) {
            error = "the permissions could not be kept: " + reason(errno);
        }
    }
    if (error.empty()) {
        error = finishFile(fd, bytes);
    } else {
        ::close(fd);
    }
    if (error.empty() && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "the new file could not take the old one's place: " + reason(errno);
    }
    if (!error.empty()) {
        ::unlink(temporary.c_str());
        return error;
    }
    const std::string notFlushed = flushFolder(folder);
    if (unflushed != nullptr) *unflushed = notFlushed;
    return {};
}

std::string keepBackup(const std::string& path, std::string& backup) {
    for (int n = 1; n < 1000; ++n) {
        backup = path + ".bak" + (n == 1 ? std::string() : "." + std::to_string(n));
        if (::link(path.c_str(), backup.c_str()) == 0) return flushFolder(folderOf(path));
        if (errno == EEXIST) continue;
        // No hard links here (or not allowed): a copy does as well when the
        // file can be read.
        if (copyInto(path, backup)) return flushFolder(folderOf(path));
        if (errno == EEXIST) continue;
        return "the old file could not be kept as " + backup + ": " + reason(errno);
    }
    return "every backup name from " + path + ".bak to " + backup + " is taken";
}

FolderLock::FolderLock(const std::string& path) {
    m_fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) return;
    while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock() {
    if (m_fd >= 0) ::close(m_fd);  // closing lets the lock go
}

}  // namespace velistrad
