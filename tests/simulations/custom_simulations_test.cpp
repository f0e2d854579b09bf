// The list of custom simulations without a window: the questions of saving,
// the limit of 20, reading leniently, and keeping what was not read.
#include "simulations/custom_simulations.h"

#include <sstream>

#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

using CustomSimulationsTest = SavingTest;
using Sims = std::vector<CustomSimulation>;

TEST_F(CustomSimulationsTest, SavesUnderNewNamesAndReplacesOnlyAfterYes) {
    writeBytes(path, "---A\r\none\r\n---A\r\ntwo\r\n");
    load();
    const struct {
        std::optional<std::string> name;
        std::deque<bool> answers;
        std::optional<std::size_t> result;
        int asked;
    } cases[] = {
        {"A", {true, false}, std::nullopt, 2},  // every taken name is asked about
        {"a", {}, 2, 0},                        // case-sensitive
        {" a", {}, 3, 0},                       // not trimmed
        {std::nullopt, {}, std::nullopt, 0},    // cancelled: nothing saved
        {"", {}, 4, 0},                         // an empty typed name is a name
        {"", {true}, 4, 1},
        // The file reads back only the text after the last hyphen, on one line.
        {"Part-2", {}, std::nullopt, 0},
        {"a\nb", {}, std::nullopt, 0},
        {"a\r", {}, std::nullopt, 0},
        {"A", {true, true}, 1, 2},  // the last Yes is the one replaced
    };
    for (const auto& c : cases) {
        dialogs.questions.clear();
        dialogs.names = {c.name};
        dialogs.answers = c.answers;
        EXPECT_EQ(list->SaveSimulation(c.name.value_or("?") + "!"), c.result)
            << c.name.value_or("(cancelled)");
        EXPECT_EQ(dialogs.questions.size(), static_cast<std::size_t>(c.asked));
    }
    EXPECT_EQ(list->simulations(),
              (Sims{{"A", "one"}, {"A", "A!"}, {"a", "a!"}, {" a", " a!"}, {"", "!"}}));
    EXPECT_EQ(dialogs.inputs[0], "Custom Simulation: Enter the name for this simulation");
    EXPECT_EQ(dialogs.questions[0],
              "Name already taken: Do you want to overwrite the simulation with the same name?");
    EXPECT_EQ(load().simulations().size(), 5u);
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0],
              "Custom Simulation: A simulation name cannot hold a hyphen (-) or a line break: the "
              "file of custom simulations could not keep it. Please choose another name.");
}

TEST_F(CustomSimulationsTest, RenameRemoveAndMoveRewriteTheFile) {
    // The operation with its index and argument, whether it changed the list,
    // and the names' last letters afterwards; past the end changes nothing.
    const std::tuple<std::string, bool, const char*> cases[] = {
        {"rename 1 X", true, "AXC"},  {"rename 1 X-1", false, "ABC"}, {"rename 1 A", false, "ABC"},
        {"rename 3 X", false, "ABC"}, {"remove 0", true, "BC"},       {"remove 2", true, "AB"},
        {"remove 3", false, "ABC"},   {"move 0 2", true, "BCA"},      {"move 2 1", true, "ACB"},
        {"move 2 3", false, "ABC"},
    };
    for (const auto& [what, changed, order] : cases) {
        SCOPED_TRACE(what);
        writeBytes(path, serializeCustomFile({{"A", "a"}, {"B", "b"}, {"C", "c"}}));
        load();
        std::istringstream words(what);
        std::string op, name;
        std::size_t index = 0;
        words >> op >> index >> name;
        EXPECT_EQ(op == "rename"   ? list->rename(index, name)
                  : op == "remove" ? list->remove(index)
                                   : list->move(index, std::stoul(name)),
                  changed);
        const Sims after = list->simulations();
        std::string names;
        for (const auto& s : after) {
            names += s.name;
            // Each script goes with its name: "a" with A, and B's with X.
            EXPECT_EQ(s.script, s.name == "X" ? "b" : std::string(1, char(s.name[0] | 0x20)));
        }
        EXPECT_EQ(names, order);
        EXPECT_EQ(load().simulations(), after);  // as written
    }
}

TEST_F(CustomSimulationsTest, ATwentyFirstNameIsRefusedAndAFailedWriteReported) {
    writeBytes(path, serializeCustomFile(records(20)));
    load();
    EXPECT_EQ(save("21", "y"), std::nullopt);
    EXPECT_EQ(dialogs.messages.at(0),
              "Custom Simulation: There is room for 20 custom simulations only. Save this one "
              "under the name of an existing simulation to replace it.");
    EXPECT_EQ(fileBytes(path), serializeCustomFile(records(20)));

    path = folder + "/gone/custom.sim";
    load();
    EXPECT_EQ(save("A", "x"), 0u);
    EXPECT_TRUE(shown("could not be saved to " + path + ":\nThe folder " + folder +
                      "/gone takes no new files (No such file or directory)"));
    EXPECT_EQ(dialogs.lastIcon, MessageIcon::Exclamation);
    EXPECT_EQ(list->simulations().size(), 1u);  // kept though not written
}

TEST_F(CustomSimulationsTest, MoreThanTwentyAreCutWithOneMessage) {
    writeBytes(path, serializeCustomFile(records(22)));
    EXPECT_EQ(load().simulations(), records(20));
    EXPECT_EQ(dialogs.messages,
              std::vector<std::string>{"Too many simulations: Only 20 custom simulations are "
                                       "allowed.  The first 20 have been loaded, and the others "
                                       "will be ignored."});
    EXPECT_EQ(dialogs.lastIcon, MessageIcon::Exclamation);
}

TEST_F(CustomSimulationsTest, AFileNotReadWholeIsKeptOnceBeforeTheFirstSave) {
    const struct {
        const char* what;
        std::string bytes;
        mode_t mode = 0600;
    } cases[] = {
        {"unreadable", "---S1\r\nx\r\n", 0200},
        {"more than 20", serializeCustomFile(records(21))},
        {"preamble", "notes\r\n---S1\r\nx\r\n"},
        {"not text", std::string("---S1\r\nx\0y\r\n", 12)},
    };
    for (const auto& c : cases) {
        if (c.mode == 0200 && runningAsRoot()) continue;  // root reads it all the same
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path + ".bak.2");
        writeBytes(path + ".bak", "earlier");
        writeBytes(path, c.bytes);
        ::chmod(path.c_str(), c.mode);
        load();
        save("S1", "new", {true});
        EXPECT_TRUE(
            shown("Before saving over it, the old file has been kept as " + path + ".bak.2."));
        ::chmod(path.c_str(), 0600);
        ::chmod((path + ".bak.2").c_str(), 0600);
        EXPECT_EQ(fileBytes(path + ".bak.2"), c.bytes);
        EXPECT_EQ(fileBytes(path + ".bak"), "earlier");
        EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations, list->simulations());
        dialogs.messages.clear();
        save("S1", "again", {true});
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(others(), 2u);
    }
}

TEST_F(CustomSimulationsTest, ScriptsAndPermissionBitsSurviveSaving) {
    for (const mode_t mode : {0600, 0640, 0604, 0664}) {
        writeBytes(path, "");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        load();
        const Sims saved = {{"A", "---B"}, {"C", " ---D"}, {"E", "--"}};
        for (const auto& s : saved) save(s.name, s.script);
        EXPECT_EQ(load().simulations(), saved);
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0, mode);
    }
}

}  // namespace
}  // namespace velistrad
