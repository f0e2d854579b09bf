// Every system call that saving makes may fail. Each is made to fail in
// turn, at each of its first calls: the file must then hold the whole old
// content or the whole new one, no new file may be left beside it, and a
// failure must be told. Interrupted calls and short writes must go on.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <string>

#include "simulations/safe_file.h"
#include "tests/case_file.h"
#include "tests/simulations/saving_fixture.h"

namespace {

enum class Call { Open, Write, Fsync, Close, Rename, Fchmod, Fstat, Read, Link };

// The call to fail: at its `nth` use while armed, with `error`; a Write
// with `shortBy` > 0 writes that many bytes less instead of failing.
struct Fault {
    bool armed = false;
    Call call = Call::Open;
    int nth = 1;
    int error = EIO;
    std::size_t shortBy = 0;
    bool fired = false;
} fault;

bool failing(Call call) {
    if (!fault.armed || fault.call != call || fault.fired || --fault.nth > 0) return false;
    fault.fired = true;
    return true;
}

template <typename F>
F real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

// The program's own calls reach these first; everything else passes through.
extern "C" {
int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    if (failing(Call::Open)) return errno = fault.error, -1;
    return real<int (*)(const char*, int, ...)>("open")(path, flags, mode);
}
ssize_t write(int fd, const void* data, size_t size) {
    if (failing(Call::Write)) {
        if (fault.shortBy == 0) return errno = fault.error, -1;
        size = size > fault.shortBy ? size - fault.shortBy : 0;
    }
    return real<ssize_t (*)(int, const void*, size_t)>("write")(fd, data, size);
}
int close(int fd) {
    const int result = real<int (*)(int)>("close")(fd);  // closed either way, as Linux does
    if (failing(Call::Close)) return errno = fault.error, -1;
    return result;
}
// The calls that fail as a whole, with the call's own parameters.
#define FAILING(Kind, result, name, params, args)                \
    result name params {                                         \
        if (failing(Call::Kind)) return errno = fault.error, -1; \
        return real<result(*) params>(#name) args;               \
    }
FAILING(Read, ssize_t, read, (int fd, void* data, size_t size), (fd, data, size))
FAILING(Fsync, int, fsync, (int fd), (fd))
FAILING(Rename, int, rename, (const char* from, const char* to), (from, to))
FAILING(Fchmod, int, fchmod, (int fd, mode_t mode), (fd, mode))
FAILING(Fstat, int, fstat, (int fd, struct stat* st), (fd, st))
FAILING(Link, int, link, (const char* from, const char* to), (from, to))
}

namespace velistrad {
namespace {

namespace fs = std::filesystem;

class SyscallFaults : public SavingTest {
protected:
    // Runs op on a fresh folder holding the old file, with the fault of row c
    // armed; returns what it reported.
    template <typename Op>
    std::string withFault(const Case& c, Op op) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        writeBytes(path, oldText);
        const std::string calls = "Open Write Fsync Close Rename Fchmod Fstat Read Link";
        const auto call = std::count(calls.begin(), calls.begin() + calls.find(c[0]), ' ');
        int error = 0;  // named in the file, numbered here
        for (int e = 1; e < 200; ++e)
            if (const char* name = ::strerrorname_np(e); name && c[2] == name) error = e;
        fault = {true, static_cast<Call>(call), std::stoi(c[1]), error, c.n(3), false};
        const std::string told = op();
        fault.armed = false;
        return told;
    }

    const std::string oldText = std::string(70000, 'o');  // more than one read
    const std::string newText = std::string(90000, 'n');
};

TEST_F(SyscallFaults, ReplacingBackingUpAndReadingLeaveOneWholeFile) {
    FOR_EACH_CASE(c, "syscall_faults.txt", 5) {
        std::string unflushed;
        const std::string told =
            withFault(c, [&] { return replaceFile(path, newText, &unflushed); });
        const std::string now = fileBytes(path);
        EXPECT_TRUE(now == oldText || now == newText) << now.size() << " bytes";
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
        EXPECT_TRUE(!fault.fired || told.empty() != c.yes(4)) << told;
        EXPECT_TRUE(!fault.fired || unflushed.empty() != (c[4] == "2")) << unflushed;
        EXPECT_TRUE(told.empty() || now == oldText) << "replaced, but told it failed: " << told;
        EXPECT_TRUE(!told.empty() || now == newText) << "not saved, and not told";

        std::string backup;
        const std::string backupTold = withFault(c, [&] { return keepBackup(path, backup); });
        EXPECT_EQ(fileBytes(path), oldText);
        // A backup is whole or not there; a flush that fails after it is told.
        EXPECT_TRUE((!backupTold.empty() && !fs::exists(backup)) || fileBytes(backup) == oldText)
            << backupTold;

        std::string error;
        const auto read = withFault(c, [&] {
            const auto bytes = readWholeFile(path, error);
            return bytes ? std::string() : error;
        });
        EXPECT_TRUE(!read.empty() || readWholeFile(path, error).value_or("") == oldText);
    }
}

}  // namespace
}  // namespace velistrad
