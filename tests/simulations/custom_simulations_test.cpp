// Saving without a window: custom.sim read leniently and written strictly,
// where it is kept, the questions of saving, the limit of 20 and keeping what
// was not read; script files read back exactly, and what cannot be read is
// told and changes nothing.
#include "simulations/custom_simulations.h"

#include <sstream>

#include "simulations/custom_location.h"
#include "simulations/script_file.h"
#include "tests/case_file.h"
#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

using CustomSimulationsTest = SavingTest;
using Sims = std::vector<CustomSimulation>;

// "name=script|name=script".
Sims sims(const std::string& text) {
    Sims out;
    for (const std::string& record : split(text, '|')) {
        const std::size_t eq = record.find('=');
        out.push_back({record.substr(0, eq), record.substr(eq + 1)});
    }
    return out;
}

TEST(CustomFile, ReadsLenientlyWritesStrictly) {
    FOR_EACH_CASE(c, "custom_file.txt", 4) {
        if (c[0] == "read") {
            const CustomFileContents got = parseCustomFile(c[1]);
            EXPECT_EQ(got.simulations, sims(c[2]));
            EXPECT_FALSE(got.tooMany);
            EXPECT_EQ(got.preamble, c.yes(3));
            continue;
        }
        EXPECT_EQ(serializeCustomFile(sims(c[1])), c[2]);
        EXPECT_EQ(parseCustomFile(c[2]).simulations, sims(c[3].empty() ? c[1] : c[3]));
    }
}

// Beside the program while its folder can be written, else in the user's
// folder, begun from the file beside the program.
TEST_F(CustomSimulationsTest, ChoosesTheFileAndBeginsTheUsersCopy) {
    const std::string program = folder + "/bin", user = folder + "/home/data";
    FOR_EACH_CASE(c, "custom_location.txt", 6) {
        std::filesystem::remove_all(program);
        std::filesystem::remove_all(folder + "/home");
        std::filesystem::create_directories(program);
        if (c[2] != "-") writeBytes(program + "/custom.sim", c[2]);
        if (c[3] != "-") {
            std::filesystem::create_directories(user);
            writeBytes(user + "/custom.sim", c[3]);
        }
        const auto commandLine = c[0] == "-" ? std::nullopt : std::optional(folder + "/" + c[0]);
        const CustomFileChoice got = chooseCustomFile({commandLine, program, c.yes(1), user});
        EXPECT_EQ(got.path, folder + "/" + c[4]);
        EXPECT_EQ(got.problem, "");
        EXPECT_EQ(std::filesystem::exists(got.path) ? fileBytes(got.path) : "-", c[5]);
    }
    EXPECT_TRUE(folderWritable(folder));
    EXPECT_FALSE(folderWritable(folder + "/missing"));
    ::chmod(folder.c_str(), 0555);
    EXPECT_EQ(folderWritable(folder), runningAsRoot());  // root writes anywhere
}

TEST_F(CustomSimulationsTest, SavesUnderNewNamesAndRenamesRemovesAndMoves) {
    writeBytes(path, "---A\r\none\r\n---A\r\ntwo\r\n");
    load();
    FOR_EACH_CASE(c, "custom_list.txt", 6) {
        if (c[0] != "save") continue;
        dialogs.questions.clear();
        dialogs.messages.clear();
        dialogs.names = {c[1] == "(cancelled)" ? std::nullopt : std::optional(c[1])};
        dialogs.answers.clear();
        for (const char answer : c[2]) dialogs.answers.push_back(answer == 'Y');
        const auto saved = list->saveAs(c[1] + "!");
        EXPECT_EQ(saved ? std::to_string(*saved) : "-", c[3]);
        EXPECT_EQ(dialogs.questions.size(), c.n(4));
        EXPECT_EQ(dialogs.messages.empty() ? "" : dialogs.messages.back(), c[5]);
    }
    EXPECT_EQ(list->simulations(),
              (Sims{{"A", "one"}, {"A", "A!"}, {"a", "a!"}, {" a", " a!"}, {"", "!"}}));
    EXPECT_EQ(dialogs.inputs[0], "Custom Simulation: Enter the name for this simulation");
    EXPECT_EQ(dialogs.questions[0],
              "Name already taken: Do you want to overwrite the simulation with the same name?");
    EXPECT_EQ(load().simulations().size(), 5u);

    FOR_EACH_CASE(c, "custom_list.txt", 6) {
        if (c[0] != "edit") continue;
        writeBytes(path, serializeCustomFile({{"A", "a"}, {"B", "b"}, {"C", "c"}}));
        load();
        std::istringstream words(c[1]);
        std::string op, name;
        std::size_t index = 0;
        words >> op >> index >> name;
        EXPECT_EQ(op == "rename"   ? list->rename(index, name)
                  : op == "remove" ? list->remove(index)
                                   : list->move(index, std::stoul(name)),
                  c.yes(2));
        EXPECT_EQ(list->simulations(), sims(c[3]));
        EXPECT_EQ(load().simulations(), sims(c[3]));  // as written
    }
}

TEST_F(CustomSimulationsTest, TwentyAtMostAndAFailedWriteReported) {
    writeBytes(path, serializeCustomFile(records(22)));
    EXPECT_EQ(load().simulations(), records(20));  // more are cut, with one message
    EXPECT_EQ(dialogs.messages,
              std::vector<std::string>{"Too many simulations: Only 20 custom simulations are "
                                       "allowed.  The first 20 have been loaded, and the others "
                                       "will be ignored."});
    EXPECT_EQ(dialogs.lastIcon, MessageIcon::Exclamation);

    writeBytes(path, serializeCustomFile(records(20)));
    load();
    EXPECT_EQ(save("21", "y"), std::nullopt);
    EXPECT_EQ(dialogs.messages.back(),
              "Custom Simulation: There is room for 20 custom simulations only. Save this one "
              "under the name of an existing simulation to replace it.");
    EXPECT_EQ(fileBytes(path), serializeCustomFile(records(20)));

    path = folder + "/gone/custom.sim";
    load();
    dialogs.lastIcon = MessageIcon::None;
    EXPECT_EQ(save("A", "x"), 0u);
    EXPECT_TRUE(shown("could not be saved to " + path + ":\nThe folder " + folder +
                      "/gone takes no new files (No such file or directory)"));
    EXPECT_EQ(dialogs.lastIcon, MessageIcon::Exclamation);
    EXPECT_EQ(list->simulations().size(), 1u);  // kept though not written
}

TEST_F(CustomSimulationsTest, AFileNotReadWholeIsKeptOnceBeforeTheFirstSave) {
    FOR_EACH_CASE(c, "custom_list.txt", 6) {
        const auto mode = static_cast<mode_t>(c[0] == "unread" ? std::stoul(c[2], nullptr, 8) : 0);
        if (c[0] != "unread" || (mode == 0200 && runningAsRoot())) continue;  // root reads all
        const std::string& bytes = c[1];
        std::filesystem::remove(path + ".bak.2");
        writeBytes(path + ".bak", "earlier");
        writeBytes(path, bytes);
        ::chmod(path.c_str(), mode);
        load();
        save("S1", "new", {true});
        EXPECT_TRUE(
            shown("Before saving over it, the old file has been kept as " + path + ".bak.2."));
        ::chmod(path.c_str(), 0600);
        ::chmod((path + ".bak.2").c_str(), 0600);
        EXPECT_EQ(fileBytes(path + ".bak.2"), bytes);
        EXPECT_EQ(fileBytes(path + ".bak"), "earlier");
        EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations, list->simulations());
        dialogs.messages.clear();
        save("S1", "again", {true});
        EXPECT_TRUE(dialogs.messages.empty());
        EXPECT_EQ(others(), 2u);
    }
}

// Two windows on one file, each started before the other saved: no save is
// lost, and a name the other window took is asked about before it is
// written over.
TEST_F(CustomSimulationsTest, TwoWindowsOnOneFileLoseNoSave) {
    writeBytes(path, serializeCustomFile({{"Old", "o"}}));
    load();
    FakeDialogs<> otherDialogs;
    CustomSimulations other(otherDialogs, path);
    other.load();

    save("A", "a");
    otherDialogs.names = {"B"};
    EXPECT_EQ(other.saveAs("b"), 2u);
    EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations, sims("Old=o|A=a|B=b"));
    EXPECT_EQ(other.simulations(), sims("Old=o|A=a|B=b"));

    // B, written by the other window: asked, and No leaves it.
    EXPECT_EQ(save("B", "mine", {false}), std::nullopt);
    EXPECT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations, sims("Old=o|A=a|B=b"));
    EXPECT_EQ(save("B", "mine", {true}), 2u);

    // Renaming, removing and moving go by name in what the file holds now.
    EXPECT_TRUE(other.rename(0, "New"));
    EXPECT_TRUE(list->remove(1));
    otherDialogs.names = {"C"};
    EXPECT_EQ(other.saveAs("c"), 2u);
    EXPECT_TRUE(list->move(0, 1));
    EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations, sims("B=mine|New=o|C=c"));
    EXPECT_EQ(list->simulations(), sims("B=mine|New=o|C=c"));
    EXPECT_TRUE(dialogs.messages.empty() && otherDialogs.messages.empty());
}

// A file named with a hyphen is imported under a name the user chooses,
// offered with blanks for the hyphens; a name still unkeepable is asked
// again, and a cancelled box imports nothing. The save box offers the
// current name.
TEST_F(CustomSimulationsTest, ImportedNamesTheFileCannotKeepAreAskedFor) {
    load();
    dialogs.names = {"marshal walk"};
    EXPECT_EQ(list->storeImported("marshal-walk", "Mar,XZ,Now"), 0u);
    dialogs.names = {"still-hyphened", "Exit"};
    EXPECT_EQ(list->storeImported("exit-\r\nwalk", "MC,XZ,Now"), 1u);
    ASSERT_EQ(dialogs.inputs.size(), 3u);
    EXPECT_NE(dialogs.inputs[0].find("\"marshal-walk\" cannot be kept"), std::string::npos);
    EXPECT_NE(dialogs.inputs[0].find("[marshal walk]"), std::string::npos);
    EXPECT_NE(dialogs.inputs[1].find("[exit   walk]"), std::string::npos);
    EXPECT_NE(dialogs.inputs[2].find("[still hyphened]"), std::string::npos);
    dialogs.names = {std::nullopt};
    EXPECT_EQ(list->storeImported("a-b", "x"), std::nullopt);
    EXPECT_EQ(list->storeImported("Plain", "SC,XZ,Now"), 2u);  // asks nothing
    EXPECT_EQ(dialogs.inputs.size(), 4u);
    EXPECT_EQ(load().simulations(), sims("marshal walk=Mar,XZ,Now|Exit=MC,XZ,Now|Plain=SC,XZ,Now"));

    dialogs.names = {"Exit"};
    dialogs.answers = {true};
    EXPECT_EQ(list->saveAs("new", "Exit"), 1u);
    EXPECT_EQ(dialogs.inputs.back(),
              "Custom Simulation: Enter the name for this simulation [Exit]");
    EXPECT_TRUE(dialogs.messages.empty());
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

TEST_F(CustomSimulationsTest, ScriptFilesReadBackOrAreRefusedChangingNothing) {
    writeBytes(folder + "/binary.vsim", std::string("Mar\0XZ", 6));
    writeBytes(folder + "/locked.vsim", "Mar");
    ::chmod((folder + "/locked.vsim").c_str(), 0);
    std::filesystem::create_symlink("/dev/zero", folder + "/zero.vsim");
    ASSERT_EQ(::mkfifo((folder + "/fifo.vsim").c_str(), 0600), 0);
    std::filesystem::create_directory(folder + "/folder.vsim");
    writeBytes(folder + "/large.vsim", "");
    std::filesystem::resize_file(folder + "/large.vsim", kMaxScriptFileBytes + 1);
    FOR_EACH_CASE(c, "script_files.txt", 3) {
        if (c[1] == "locked.vsim" && runningAsRoot()) continue;  // root reads it all the same
        std::string text = "kept";
        if (c[0] == "refused") {
            EXPECT_EQ(readScriptFile(folder + "/" + c[1], text),
                      "The script file " + folder + "/" + c[1] + " could not be opened: " + c[2]);
            EXPECT_EQ(text, "kept");
            continue;
        }
        if (c[0] == "read") writeBytes(path, c[1]);
        EXPECT_EQ(c[0] == "same" ? writeScriptFile(path, c[1]) : "", "");
        EXPECT_EQ(fileBytes(path), c[1]);
        EXPECT_EQ(readScriptFile(path, text), "");
        EXPECT_EQ(text, c[0] == "same" ? c[1] : c[2]);
    }
    const std::string gone = folder + "/gone/a.vsim";
    EXPECT_NE(writeScriptFile(gone, "x").find("The script could not be saved to " + gone + ": "),
              std::string::npos);
}

}  // namespace
}  // namespace velistrad
