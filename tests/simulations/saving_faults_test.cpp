// Saving custom simulations under faults: killed at random moments, a full
// disk, a folder or a file without write permission. Root passes permission
// checks, so where those matter the saving child gives up root and runs as
// nobody.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <random>

#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

constexpr uid_t kNobody = 65534;

class SavingFaultsTest : public SavingTest {
protected:
    // Twenty long records; saving S1 with a new script rewrites all of them.
    void SetUp() override {
        SavingTest::SetUp();
        old = serializeCustomFile(records(20, 2000));
        writeBytes(path, old);
    }

    static void becomeUser() {
        if (runningAsRoot() &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(3);
        }
    }

    // Runs `work` on a fresh list in a child process and returns the texts of
    // the messages it showed. `asUser`: when we are root, the child becomes
    // nobody first, so that permissions hold for it.
    template <class Work>
    std::string inChild(bool asUser, Work work) {
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(out[0]);
            if (asUser) becomeUser();
            load();
            work();
            for (const auto& m : dialogs.messages) {
                if (::write(out[1], m.text.data(), m.text.size()) < 0) ::_exit(4);
            }
            ::_exit(0);
        }
        ::close(out[1]);
        std::string shown;
        char buffer[4096];
        for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
            shown.append(buffer, static_cast<std::size_t>(n));
        ::close(out[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        return shown;
    }

    // Replaces S1 with a script too big for the room the disk has left.
    std::string saveTooMuch() {
        dialogs.answers = {true};
        save("S1", std::string(200000, 'z'));
        return dialogs.messages.empty() ? "" : dialogs.messages.back().text;
    }

    void expectRefused(const std::string& shown, const std::string& reason) {
        EXPECT_NE(shown.find("could not be saved to " + path), std::string::npos) << shown;
        EXPECT_NE(shown.find(reason), std::string::npos) << shown;
        EXPECT_EQ(shown.find("Unknown error"), std::string::npos) << shown;
        EXPECT_EQ(fileBytes(path), old);
        EXPECT_TRUE(others().empty()) << "a new file was left behind";
    }

    // Kills a child that saves in a loop, S1 alternating between two
    // scripts, at random moments; each time custom.sim must hold one of
    // the three lists whole.
    void killSavesAtRandom(int rounds, bool asUser) {
        std::vector<std::string> whole = {old};
        for (const char c : {'x', 'y'}) {
            auto list = records(20, 2000);
            list[0].script = std::string(2000, c);
            whole.push_back(serializeCustomFile(list));
        }
        const unsigned seed = std::random_device{}();
        std::mt19937 random(seed);
        for (int round = 0; round < rounds; ++round) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                if (asUser) becomeUser();
                load();
                for (int i = 0;; ++i) {
                    dialogs.answers = {true};
                    save("S1", std::string(2000, i % 2 ? 'x' : 'y'));
                    dialogs.messages.clear();
                }
            }
            ::usleep(random() % 20000);
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const std::string now = fileBytes(path);
            ASSERT_NE(std::find(whole.begin(), whole.end(), now), whole.end())
                << "round " << round << " of seed " << seed << ": " << now.size() << " bytes";
        }
    }

    void TearDown() override {
        if (mounted) ::umount2(folder.c_str(), MNT_DETACH);
        SavingTest::TearDown();
    }

    std::string old;
    bool mounted = false;
};

TEST_F(SavingFaultsTest, KilledWhileSavingLeavesTheOldOrTheNewFileWhole) {
    killSavesAtRandom(300, false);
}

TEST_F(SavingFaultsTest, KilledWhileRefusedInAReadOnlyFolderLeavesTheFile) {
    ASSERT_EQ(::chown(path.c_str(), runningAsRoot() ? kNobody : ::getuid(), -1), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    killSavesAtRandom(200, true);
}

TEST_F(SavingFaultsTest, AFileSizeLimitIsReportedAndTheOldFileKept) {
    const std::string shown = inChild(false, [&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        saveTooMuch();
    });
    expectRefused(shown, std::strerror(EFBIG));
}

TEST_F(SavingFaultsTest, AFullDiskIsReportedAndTheOldFileKept) {
    if (!runningAsRoot()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    }
    mounted = true;
    old = serializeCustomFile(records(2));
    writeBytes(path, old);
    load();
    expectRefused(saveTooMuch(), std::strerror(ENOSPC));
}

TEST_F(SavingFaultsTest, AReadOnlyFolderIsReportedAndTheFileNotWrittenInPlace) {
    ASSERT_EQ(::chown(path.c_str(), runningAsRoot() ? kNobody : ::getuid(), -1), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    const std::string shown = inChild(true, [&] { saveTooMuch(); });
    expectRefused(shown, "The folder " + folder + " takes no new files (Permission denied)");
}

TEST_F(SavingFaultsTest, AReadOnlyFileIsRefusedToUsersAndKeepsItsModeForRoot) {
    ASSERT_EQ(::chown(path.c_str(), runningAsRoot() ? kNobody : ::getuid(), -1), 0);
    ASSERT_EQ(::chown(folder.c_str(), runningAsRoot() ? kNobody : ::getuid(), -1), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    expectRefused(inChild(true, [&] { saveTooMuch(); }), "read-only: Permission denied");
    if (!runningAsRoot()) return;
    load();
    EXPECT_EQ(saveTooMuch(), "");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(st.st_uid, kNobody);
}

}  // namespace
}  // namespace velistrad
