// File > Export > Member's Page and Member's Book from the window: the shown
// script or every movement, My Simulations included, in one file; a script
// that does not play is told and writes nothing.
#include <QFile>

#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

using MemberPageExportTest = WindowTest;

TEST_F(MemberPageExportTest, ThePageAndTheBookHoldWhatTheWindowShowsAndHasSaved) {
    trigger(qs("Do_Chap"));
    dialogs.files = {dir.filePath(qs("page"))};
    trigger(qs("Export_MemberPage"));
    const std::string page = fileBytes(dir.filePath(qs("page.html")).toStdString());
    EXPECT_NE(page.find(R"("group":"Opening","name":"Chaplain")"), std::string::npos);
    EXPECT_EQ(page.find("\"group\":\"Closing\""), std::string::npos);

    saveSimulation("Broken", "XX, XZ, Now");
    saveSimulation("Mine", "Mar, XZTCEVU, Now");
    dialogs.messages.clear();
    dialogs.files = {dir.filePath(qs("book.html"))};
    trigger(qs("Export_MemberBook"));
    const std::string book = fileBytes(dir.filePath(qs("book.html")).toStdString());
    EXPECT_NE(book.find(R"("group":"Triangle","name":"Officers Exit")"), std::string::npos);
    EXPECT_NE(book.find(R"("group":"My Simulations","name":"Mine")"), std::string::npos);
    EXPECT_EQ(book.find("\"name\":\"Broken\""), std::string::npos);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("not play: Broken."), std::string::npos);

    // The shown script does not play: nothing is asked for and nothing written.
    setEditorText("XX, XZ, Now");
    dialogs.messages.clear();
    dialogs.files = {dir.filePath(qs("broken.html"))};
    trigger(qs("Export_MemberPage"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].find("Unknown officer: XX"), std::string::npos);
    EXPECT_FALSE(QFile::exists(dir.filePath(qs("broken.html"))));
}

}  // namespace
}  // namespace velistrad
