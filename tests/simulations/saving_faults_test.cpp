// Saving custom.sim under faults: killed at random moments, a full disk, a
// folder or a file without write permission. Root passes permission checks,
// so where those matter the saving child gives up root and runs as nobody.
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

constexpr uid_t kNobody = 65534;

class SavingFaultsTest : public SavingTest {
protected:
    void SetUp() override {
        SavingTest::SetUp();
        writeBytes(path, old);
    }
    void TearDown() override {
        if (mounted) ::umount2(folder.c_str(), MNT_DETACH);
        SavingTest::TearDown();
    }

    // Gives the folder (`folderMode`) and custom.sim (`fileMode`) to the user
    // the saving child runs as.
    void forUser(mode_t folderMode, mode_t fileMode) {
        const uid_t user = runningAsRoot() ? kNobody : ::getuid();
        ASSERT_EQ(::chown(folder.c_str(), user, -1) | ::chown(path.c_str(), user, -1), 0);
        ASSERT_EQ(::chmod(folder.c_str(), folderMode) | ::chmod(path.c_str(), fileMode), 0);
    }
    static void becomeUser() {
        if (runningAsRoot() && (::setgroups(0, nullptr) | ::setgid(kNobody) | ::setuid(kNobody)))
            ::_exit(3);
    }

    // Runs `act` in a child process, as the user when `asUser`; what the
    // child returns as text comes back through a pipe.
    template <class Act>
    std::string inChild(bool asUser, Act act) {
        int pipeEnds[2] = {-1, -1};
        EXPECT_EQ(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (asUser) becomeUser();
            const std::string text = act();
            ::_exit(::write(pipeEnds[1], text.data(), text.size()) < 0);
        }
        ::close(pipeEnds[1]);
        std::string text(65536, '\0');
        text.resize(static_cast<std::size_t>(
            std::max<ssize_t>(0, ::read(pipeEnds[0], text.data(), text.size()))));
        ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(status, 0);
        return text;
    }

    // Replaces S1 with a script too big for the room left; in a child that
    // first runs `prepare`, and as the user when `asUser`. The last message.
    template <class Prepare>
    std::string saveTooMuch(bool asUser, Prepare prepare) {
        return inChild(asUser, [&] {
            prepare();
            load();
            save("S1", std::string(200000, 'z'), {true});
            return dialogs.messages.empty() ? std::string() : dialogs.messages.back();
        });
    }
    void expectRefused(const std::string& shown, const std::string& reason) {
        EXPECT_NE(shown.find("could not be saved to " + path + ":\n" + reason), std::string::npos)
            << shown;
        EXPECT_TRUE(fileBytes(path) == old && others() == 0u) << "changed, or a new file left";
    }

    // Kills a child that saves in a loop, S1 alternating between two
    // scripts, at random moments; custom.sim must hold one list whole.
    void killSavesAtRandom(int rounds, bool asUser) {
        std::vector<std::string> whole = {old};
        for (auto saved = records(20, 2000); const char c : {'x', 'y'}) {
            saved[0].script = std::string(2000, c);
            whole.push_back(serializeCustomFile(saved));
        }
        const unsigned seed = std::random_device{}();
        std::mt19937 random(seed);
        for (int round = 0; round < rounds; ++round) {
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                if (asUser) becomeUser();
                load();
                for (int i = 0;; ++i) save("S1", std::string(2000, "xy"[i % 2]), {true});
            }
            ::usleep(random() % 20000);
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            const std::string now = fileBytes(path);
            ASSERT_NE(std::find(whole.begin(), whole.end(), now), whole.end())
                << "round " << round << " of seed " << seed << ": " << now.size() << " bytes";
        }
    }

    // Runs `act` in a child as the user; every message it was shown, one a line.
    template <class Act>
    std::string asUser(Act act) {
        return inChild(true, [&] {
            act();
            std::string text;
            for (const std::string& m : dialogs.messages) text += m + "\n";
            return text;
        });
    }
    std::size_t backups() const {
        std::size_t n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            n += entry.path().string().find(".bak") != std::string::npos;
        return n;
    }

    std::string old = serializeCustomFile(records(20, 2000));
    bool mounted = false;
};

// A folder that may be written but not read cannot be flushed: the file is
// replaced all the same, and that is no failure; a file not read whole is
// kept once, not at every save.
TEST_F(SavingFaultsTest, AFolderThatCannotBeReadStillTakesSavesWithoutFailure) {
    writeBytes(path, "notes\r\n" + old);
    forUser(0300, 0644);
    const std::string told = asUser([&] {
        load();
        save("S1", "first", {true});
        save("S1", "second", {true});
    });
    EXPECT_EQ(told.find("could not be saved"), std::string::npos) << told;
    EXPECT_NE(told.find("has been kept as " + path + ".bak."), std::string::npos) << told;
    ::chmod(folder.c_str(), 0700);
    EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations[0].script, "second");
    EXPECT_EQ(backups(), 1u);
}

// A file its owner cannot read would load empty at every start: it is
// written back readable, told once, and the next start reads it.
TEST_F(SavingFaultsTest, AFileItsOwnerCannotReadIsWrittenBackReadable) {
    forUser(0755, 0200);
    std::string told = asUser([&] {
        load();
        save("S1", "first", {true});
        save("S1", "second", {true});
    });
    EXPECT_NE(told.find("has been saved readable by its owner"), std::string::npos) << told;
    EXPECT_EQ(told.find("readable"), told.rfind("readable")) << "told more than once: " << told;
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    told = asUser([&] {
        // Unread at the first start, the list began empty; the old file is the backup.
        if (load().simulations() != std::vector<CustomSimulation>{{"S1", "second"}})
            dialogs.messages.push_back("not read back");
    });
    EXPECT_EQ(told, "");
}

// Two processes saving at the same moments, each its own ten names: the
// folder's lock keeps either from writing over what the other just saved.
TEST_F(SavingFaultsTest, TwoProcessesSavingTogetherLoseNothing) {
    writeBytes(path, "");
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] != 0) continue;
        load();
        for (int i = 0; i < 10; ++i) save(std::string(1, "PQ"[c]) + std::to_string(i), "x");
        ::_exit(dialogs.messages.empty() ? 0 : 1);
    }
    for (const pid_t child : children) {
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations.size(), 20u);
}

// Saves killed before renaming leave their new files; the next save removes
// those of processes that are gone, never one still at work.
TEST_F(SavingFaultsTest, NewFilesOfKilledSavesAreRemovedAtTheNextSave) {
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = folder + "/.custom.sim.new-" + std::to_string(gone) + "-7";
    const std::string working = folder + "/.custom.sim.new-" + std::to_string(::getppid()) + "-1";
    const std::string unrelated = folder + "/.other.new-" + std::to_string(gone) + "-1";
    for (const std::string& f : {stale, working, unrelated}) writeBytes(f, "part");
    load();
    save("S1", "x", {true});
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(working));
    EXPECT_TRUE(std::filesystem::exists(unrelated));
}

// Then as a user refused in a read-only folder.
TEST_F(SavingFaultsTest, KilledWhileSavingOrRefusedLeavesTheOldOrTheNewFileWhole) {
    killSavesAtRandom(300, false);
    forUser(0555, 0644);
    killSavesAtRandom(200, true);
}

// A file size limit, a read-only folder, a read-only file, a full disk; root
// may replace a read-only file, which keeps its mode and owner.
TEST_F(SavingFaultsTest, RefusedSavesAreReportedAndTheOldFileKept) {
    expectRefused(saveTooMuch(false,
                              [] {
                                  ::signal(SIGXFSZ, SIG_IGN);
                                  const rlimit limit{65536, 65536};
                                  ::setrlimit(RLIMIT_FSIZE, &limit);
                              }),
                  "Writing failed: File too large");
    forUser(0555, 0644);
    expectRefused(saveTooMuch(true, [] {}),
                  "The folder " + folder + " takes no new files (Permission denied)");
    forUser(0755, 0444);
    expectRefused(saveTooMuch(true, [] {}), "The file is read-only: Permission denied");
    if (!runningAsRoot()) GTEST_SKIP() << "replacing as root and mounting a small tmpfs need root";
    EXPECT_EQ(saveTooMuch(false, [] {}), "");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(st.st_uid, kNobody);

    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
    mounted = true;
    writeBytes(path, old);
    expectRefused(saveTooMuch(false, [] {}), "Writing failed: No space left on device");
}

}  // namespace
}  // namespace velistrad
