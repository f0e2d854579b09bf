// The list of custom simulations without a window: the questions of saving,
// the limit of 20, reading leniently, and keeping what was not read.
#include "simulations/custom_simulations.h"

#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

using CustomSimulationsTest = SavingTest;

TEST_F(CustomSimulationsTest, SavesUnderNewNamesAndReplacesOnlyAfterYes) {
    load();
    EXPECT_EQ(save("Walk", "Mar,XZ,Now"), 0u);
    EXPECT_EQ(save("", "MC,XZ,Now"), 1u);       // an empty answer is a name too
    EXPECT_EQ(save(" Walk", "SC,XZ,Now"), 2u);  // not trimmed, so not taken
    EXPECT_EQ(save("walk", "JC,XZ,Now"), 3u);   // case-sensitive
    ASSERT_EQ(dialogs.inputs.size(), 4u);
    EXPECT_EQ(dialogs.inputs[0].text, "Enter the name for this simulation");
    EXPECT_EQ(dialogs.inputs[0].title, "Custom Simulation");
    EXPECT_TRUE(dialogs.questions.empty());
    const std::string four = fileBytes(path);
    EXPECT_EQ(four.substr(0, 42), "----------Walk\r\nMar,XZ,Now\r\n----------\r\nMC");

    EXPECT_EQ(save("Walk", "Changed"), std::nullopt);  // No
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text,
              "Do you want to overwrite the simulation with the same name?");
    EXPECT_EQ(dialogs.questions[0].title, "Name already taken");
    EXPECT_EQ(fileBytes(path), four);

    dialogs.answers = {true};
    dialogs.names.push_back(std::nullopt);  // cancelled: the empty name, which is taken
    EXPECT_EQ(list->SaveSimulation("Changed"), 1u);
    EXPECT_EQ(list->simulations()[1].name, "");
    EXPECT_EQ(list->simulations()[1].script, "Changed");
    EXPECT_EQ(list->simulations().size(), 4u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CustomSimulationsTest, EveryTakenNameIsAskedAboutAndTheLastYesWins) {
    writeBytes(path, "---A\r\none\r\n---A\r\ntwo\r\n");
    load();
    dialogs.answers = {true, false};
    EXPECT_EQ(save("A", "x"), std::nullopt);
    dialogs.answers = {true, true};
    EXPECT_EQ(save("A", "x"), 1u);
    EXPECT_EQ(fileBytes(path), "----------A\r\none\r\n----------A\r\nx\r\n");
}

TEST_F(CustomSimulationsTest, ATwentyFirstNameIsRefusedButReplacingStillWorks) {
    load();
    for (int i = 1; i <= 20; ++i) save(std::to_string(i), "x");
    const std::string full = fileBytes(path);
    EXPECT_EQ(save("21", "y"), std::nullopt);
    EXPECT_EQ(list->simulations().size(), 20u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "There is room for 20 custom simulations only. Save this one under the name of an "
              "existing simulation to replace it.");
    EXPECT_EQ(dialogs.messages[0].title, "Custom Simulation");
    EXPECT_EQ(fileBytes(path), full);
    dialogs.answers = {true};
    EXPECT_EQ(save("20", "y"), 19u);
}

TEST_F(CustomSimulationsTest, AFailedWriteIsReportedAndTheListKeepsTheChange) {
    path = folder + "/missing/custom.sim";
    load();
    EXPECT_EQ(save("Walk", "x"), 0u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("could not be saved to " + path), std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(list->simulations().size(), 1u);
}

TEST_F(CustomSimulationsTest, LoadsLenientlyAndWarnsOnceAboutMoreThanTwenty) {
    load();  // no file: no message
    EXPECT_TRUE(list->simulations().empty());
    writeBytes(path, "notes\r\n---A\r\nx\r\n");
    EXPECT_EQ(load().simulations().size(), 1u);
    EXPECT_TRUE(dialogs.messages.empty());

    writeBytes(path, serializeCustomFile(records(22)));
    EXPECT_EQ(load().simulations().size(), 20u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Only 20 custom simulations are allowed.  The first 20 have been loaded, and the "
              "others will be ignored.");
    EXPECT_EQ(dialogs.messages[0].title, "Too many simulations");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(CustomSimulationsTest, AFileNotReadWholeIsKeptOnceBeforeTheFirstSave) {
    const struct {
        const char* what;
        std::string bytes;
        mode_t mode = 0600;
    } cases[] = {
        {"unreadable", "---A\r\nx\r\n", 0200},
        {"more than 20", serializeCustomFile(records(21))},
        {"preamble", "notes\r\n---A\r\nx\r\n"},
        {"not text", std::string("---A\r\nx\0y\r\n", 11)},
    };
    for (const auto& c : cases) {
        if (c.mode == 0200 && runningAsRoot()) continue;  // root reads it anyway
        SCOPED_TRACE(c.what);
        std::filesystem::remove(path + ".bak.2");
        writeBytes(path + ".bak", "earlier backup");
        writeBytes(path, c.bytes);
        ::chmod(path.c_str(), c.mode);
        load();
        dialogs.messages.clear();
        const std::string name = parseCustomFile(c.bytes).simulations.at(0).name;
        dialogs.answers = {true, true};
        save(name, "new");
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_NE(dialogs.messages[0].text.find(path + ".bak.2"), std::string::npos);
        EXPECT_EQ(fileBytes(path + ".bak"), "earlier backup");
        ::chmod((path + ".bak.2").c_str(), 0600);
        EXPECT_EQ(fileBytes(path + ".bak.2"), c.bytes);
        ::chmod(path.c_str(), 0600);
        EXPECT_EQ(parseCustomFile(fileBytes(path)).simulations, list->simulations());
        save(name, "then");  // after that, saves go on as usual
        EXPECT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(others().size(), 2u);
    }
}

TEST_F(CustomSimulationsTest, ScriptsBeginningWithHyphensComeBackWhole) {
    load();
    const std::vector<CustomSimulation> saved = {{"A", "---B"}, {"C", " ---D"}, {"E", "--"}};
    for (const auto& s : saved) save(s.name, s.script);
    EXPECT_EQ(load().simulations(), saved);
}

TEST_F(CustomSimulationsTest, SavingKeepsThePermissionBits) {
    for (const mode_t mode : {0600, 0640, 0604, 0664}) {
        writeBytes(path, "---A\r\nx\r\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        load();
        dialogs.answers = {true};
        save("A", "y");
        EXPECT_EQ(modeOf(path), mode);
        EXPECT_EQ(fileBytes(path), "----------A\r\ny\r\n");
    }
}

}  // namespace
}  // namespace velistrad
