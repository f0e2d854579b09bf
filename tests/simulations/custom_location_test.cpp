// Where My Simulations are kept: beside the program while its folder can be
// written, else in the user's folder, begun from the file beside the program.
#include "simulations/custom_location.h"

#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

using CustomLocationTest = SavingTest;

TEST_F(CustomLocationTest, ChoosesTheFileAndBeginsTheUsersCopy) {
    const std::string program = folder + "/bin", user = folder + "/home/data";
    const struct {
        const char* what;
        std::optional<std::string> commandLine;
        bool writable;
        const char* beside;  // custom.sim beside the program; null: none
        const char* mine;    // the user's own file before; null: none
        std::string chosen;
        const char* after;  // the chosen file afterwards; null: none
    } cases[] = {
        {"command line", folder + "/my.sim", true, "B", "U", folder + "/my.sim", nullptr},
        {"writable folder", std::nullopt, true, "B", "U", program + "/custom.sim", "B"},
        {"read-only folder with a file", std::nullopt, false, "B", nullptr, user + "/custom.sim",
         "B"},
        {"read-only folder without one", std::nullopt, false, nullptr, nullptr,
         user + "/custom.sim", nullptr},
        {"user's file made earlier", std::nullopt, false, "B", "U", user + "/custom.sim", "U"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(program);
        std::filesystem::remove_all(folder + "/home");
        std::filesystem::create_directories(program);
        if (c.beside) writeBytes(program + "/custom.sim", c.beside);
        if (c.mine) {
            std::filesystem::create_directories(user);
            writeBytes(user + "/custom.sim", c.mine);
        }
        const CustomFileChoice got = chooseCustomFile({c.commandLine, program, c.writable, user});
        EXPECT_EQ(got.path, c.chosen);
        EXPECT_EQ(got.problem, "");
        EXPECT_EQ(std::filesystem::exists(got.path), c.after != nullptr);
        if (c.after) {
            EXPECT_EQ(fileBytes(got.path), c.after);
        }
    }
}

TEST_F(CustomLocationTest, AFolderWithoutWritePermissionIsNotWritable) {
    EXPECT_TRUE(folderWritable(folder));
    EXPECT_FALSE(folderWritable(folder + "/missing"));
    ::chmod(folder.c_str(), 0555);
    EXPECT_EQ(folderWritable(folder), runningAsRoot());  // root writes anywhere
}

}  // namespace
}  // namespace velistrad
