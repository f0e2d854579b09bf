// Script files and managing My Simulations from the window: the editor, the
// title and the My Simulations menu follow what is done.
#include <QListWidget>
#include <QMenu>

#include "app/manage_dialog.h"
#include "tests/app/window_fixture.h"
#include "tests/simulations/saving_fixture.h"

namespace velistrad {
namespace {

class ScriptFilesTest : public WindowTest {
protected:
    QString writeFile(const char* name, const std::string& bytes) const {
        const QString path = dir.filePath(qs(name));
        writeBytes(path.toStdString(), bytes);
        return path;
    }
    static std::string readFile(const QString& path) { return fileBytes(path.toStdString()); }
    QString item(int i) const { return customItem(i)->text(); }
    bool shown(int i) const { return customItem(i)->isVisible(); }
};

TEST_F(ScriptFilesTest, NewItemsComeBeforeTheOldOnes) {
    const auto names = [this](const char* menu) {
        QStringList out;
        for (const QAction* action : child<QMenu>(qs(menu))->actions()) out << action->objectName();
        return out.join(QLatin1Char(' '));
    };
    EXPECT_TRUE(names("M_File").startsWith(QStringLiteral("OpenScript ")));
    EXPECT_TRUE(
        names("M_File").endsWith(QStringLiteral(" Toggle_HideCode Toggle_Kiosk Quit_Simulator")));
    EXPECT_TRUE(
        names("M_Simulations")
            .startsWith(QStringLiteral("Do_Reset SaveSimulation ManageSimulations Separator0 ")));
}

TEST_F(ScriptFilesTest, OpeningPutsTheFileInTheEditorAndTheTitleFollowsIt) {
    const QString path = writeFile("walk.vsim", "\xEF\xBB\xBFMar,XZ,\nNow \xCE\xA9");
    dialogs.files = {path};
    trigger(QStringLiteral("OpenScript"));
    EXPECT_EQ(editorText(), QStringLiteral("Mar,XZ,\nNow \u03A9"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("walk.vsim[*] - Velistrad Simulator"));
    EXPECT_FALSE(window->isWindowModified());

    editor()->appendPlainText(QStringLiteral("All,Delay,1"));
    EXPECT_TRUE(window->isWindowModified());
    dialogs.saveChoice = WindowDialogs::SaveChoice::Cancel;
    EXPECT_FALSE(window->close());  // Cancel keeps the window and the changes
    EXPECT_EQ(dialogs.questions.size(), 1u);
    trigger(QStringLiteral("SaveScript"));
    EXPECT_EQ(readFile(path), "Mar,XZ,\nNow \xCE\xA9\nAll,Delay,1");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(child<QAction>(QStringLiteral("RecentScript(1)"))->text(),
              QStringLiteral("&1 ") + path);

    // A file that cannot be read changes nothing.
    EXPECT_FALSE(window->openScriptFile(dir.filePath(QStringLiteral("missing.vsim"))));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(window->scriptFile(), path);
    EXPECT_EQ(editorText(), QStringLiteral("Mar,XZ,\nNow \u03A9\nAll,Delay,1"));

    // A chosen simulation replaces the file's script: the file is closed, so
    // a later Save cannot write the simulation into it.
    trigger(QStringLiteral("Do_Chap"));
    EXPECT_TRUE(window->scriptFile().isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velistrad Simulator"));
}

TEST_F(ScriptFilesTest, ManagingChangesTheMysimulationsMenu) {
    for (const char* name : {"A", "B", "C"}) saveSimulation(name, name);
    ManageSimulationsDialog manage(*window);
    auto* list = manage.findChild<QListWidget*>(QStringLiteral("List"));
    auto press = [&manage](const char* button, int row) {
        manage.findChild<QListWidget*>(QStringLiteral("List"))->setCurrentRow(row);
        manage.findChild<QPushButton*>(qs(button))->click();
    };
    press("MoveDown", 0);
    EXPECT_EQ(item(1) + item(2) + item(3), QStringLiteral("BAC"));
    EXPECT_EQ(list->currentRow(), 1);  // the selection moves with it
    dialogs.names = {QStringLiteral("Z")};
    press("Rename", 2);
    EXPECT_EQ(item(3), QStringLiteral("Z"));
    const QString exported = dir.filePath(QStringLiteral("z.vsim"));
    dialogs.files = {exported};
    press("Export", 2);
    EXPECT_EQ(readFile(exported), "C");
    dialogs.answers = {true, true, true};
    for (int i = 0; i < 3; ++i) press("Delete", 0);
    EXPECT_EQ(item(1), QStringLiteral("(none)"));
    EXPECT_FALSE(shown(2));
    dialogs.files = {exported, writeFile("bad-name.vsim", "x")};
    manage.findChild<QPushButton*>(QStringLiteral("Import"))->click();
    EXPECT_EQ(item(1), QStringLiteral("z"));
    EXPECT_TRUE(shown(1) && !shown(2));
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(window->customSimulations().at(0).script, "C");
}

}  // namespace
}  // namespace velistrad
