// Script files: what is saved comes back exactly; what cannot be read is
// told and changes nothing.
#include "simulations/script_file.h"

#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

using ScriptFileTest = SavingTest;

TEST_F(ScriptFileTest, SavedScriptsReadBackExactly) {
    for (const std::string text :
         {"", "Mar,XZ,Now", "Mar, XZ,\nNow\n\n  All, Delay, 0.5\n", "\u03A9 caf\u00E9 \u20AC\n"}) {
        EXPECT_EQ(writeScriptFile(path, text), "");
        EXPECT_EQ(fileBytes(path), text);
        std::string back = "old";
        EXPECT_EQ(readScriptFile(path, back), "");
        EXPECT_EQ(back, text);
    }
}

TEST_F(ScriptFileTest, ReadsOtherEditorsFiles) {
    const struct {
        std::string bytes, text;
    } cases[] = {
        {"\xEF\xBB\xBFMar,\nXZ", "Mar,\nXZ"},          // byte order mark
        {"a\r\nb\rc\r", "a\nb\nc\n"},                  // Windows and old Mac line ends
        {"Caf\xE9 \x80", "Caf\u00E9 \u20AC"},          // Windows-1252
        {"\xEF\xBB\xBF\xEF\xBB\xBF", "\xEF\xBB\xBF"},  // only the first mark goes
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        std::string text;
        EXPECT_EQ(readScriptFile(path, text), "") << c.bytes;
        EXPECT_EQ(text, c.text) << c.bytes;
    }
}

TEST_F(ScriptFileTest, WhatCannotBeReadOrWrittenIsToldAndChangesNothing) {
    writeBytes(folder + "/binary.vsim", std::string("Mar\0XZ", 6));
    writeBytes(folder + "/locked.vsim", "Mar");
    ::chmod((folder + "/locked.vsim").c_str(), 0);
    const struct {
        std::string file, reason;
    } cases[] = {
        {"missing.vsim", "it does not exist."},
        {"binary.vsim", "it is not a text file."},
        {"locked.vsim", "it could not be opened: Permission denied."},
    };
    for (const auto& c : cases) {
        if (c.file == "locked.vsim" && runningAsRoot()) continue;  // root reads it all the same
        std::string text = "kept";
        EXPECT_EQ(readScriptFile(folder + "/" + c.file, text),
                  "The script file " + folder + "/" + c.file + " could not be opened: " + c.reason);
        EXPECT_EQ(text, "kept");
    }
    const std::string gone = folder + "/gone/a.vsim";
    EXPECT_NE(writeScriptFile(gone, "x").find("The script could not be saved to " + gone + ": "),
              std::string::npos);
}

}  // namespace
}  // namespace velistrad
