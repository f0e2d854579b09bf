// My Simulations: loading custom.sim at start-up, choosing, saving under a new
// or a taken name, the limit of 20, and the file written in between.
#include <QFile>

#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

class CustomSimulationsTest : public WindowTest {
protected:
    QByteArray fileBytes() const {
        QFile file(customPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void save(const char* name, const char* script) {
        setEditorText(script);
        dialogs.names.push_back(qs(name));
        trigger(QStringLiteral("SaveSimulation"));
    }
    QAction* item(int i) const { return child<QAction>(QStringLiteral("CustomSim(%1)").arg(i)); }
};

TEST_F(CustomSimulationsTest, SavingUnderNewNamesFillsTheMenuAndTheFile) {
    save("Walk", "Mar,XZ,Now");
    save("", "MC,XZ,Now");       // an empty answer is a name too
    save(" Walk", "SC,XZ,Now");  // not trimmed, so not taken
    ASSERT_EQ(dialogs.inputs.size(), 3u);
    EXPECT_EQ(dialogs.inputs[0].text, QStringLiteral("Enter the name for this simulation"));
    EXPECT_EQ(dialogs.inputs[0].title, QStringLiteral("Custom Simulation"));
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_EQ(item(1)->text(), QStringLiteral("Walk"));
    EXPECT_TRUE(item(1)->isEnabled());
    EXPECT_EQ(item(3)->text(), QStringLiteral(" Walk"));
    EXPECT_FALSE(item(4)->isVisible());
    EXPECT_EQ(fileBytes(), QByteArray("----------Walk\r\nMar,XZ,Now\r\n----------\r\nMC,XZ,Now\r\n"
                                      "---------- Walk\r\nSC,XZ,Now\r\n"));
}

TEST_F(CustomSimulationsTest, OverwriteAnsweredNoChangesNothingAndYesReplacesInPlace) {
    save("A", "Mar,XZ,Now");
    save("B", "MC,XZ,Now");
    const QByteArray before = fileBytes();
    save("A", "SC,XZ,Now");  // No
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text,
              QStringLiteral("Do you want to overwrite the simulation with the same name?"));
    EXPECT_EQ(dialogs.questions[0].title, QStringLiteral("Name already taken"));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(window->customSimulations()[0].script, "Mar,XZ,Now");
    dialogs.answers = {true};
    save("A", "SC,XZ,Now");
    EXPECT_EQ(item(1)->text(), QStringLiteral("A"));
    EXPECT_EQ(fileBytes(), QByteArray("----------A\r\nSC,XZ,Now\r\n----------B\r\nMC,XZ,Now\r\n"));
    save("a", "JC,XZ,Now");  // names are case-sensitive
    EXPECT_EQ(window->customSimulations().size(), 3u);
    EXPECT_EQ(dialogs.questions.size(), 2u);
}

TEST_F(CustomSimulationsTest, ATwentyFirstNameIsRefusedButReplacingStillWorks) {
    for (int i = 1; i <= 20; ++i) save(QByteArray::number(i).constData(), "Mar,XZ,Now");
    EXPECT_TRUE(dialogs.messages.empty());
    const QByteArray full = fileBytes();
    save("21", "MC,XZ,Now");
    EXPECT_EQ(window->customSimulations().size(), 20u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Custom Simulation"));
    EXPECT_EQ(fileBytes(), full);
    dialogs.answers = {true};
    save("20", "MC,XZ,Now");
    EXPECT_EQ(window->customSimulations()[19].script, "MC,XZ,Now");
}

TEST_F(CustomSimulationsTest, SavedSimulationsComeBackAfterARestart) {
    const std::string longScript = "Mar,XZCEVU,Now," + std::string(120, ' ') + "Mar,UZX,After";
    save("Part-2", "Mar,XZ,\nNow");
    save("Long", longScript.c_str());
    open();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(item(1)->text(), QStringLiteral("2"));  // the text after the last hyphen
    EXPECT_EQ(item(2)->text(), QStringLiteral("Long"));
    item(1)->trigger();
    EXPECT_EQ(editorText(), QStringLiteral("Mar,XZ,Now"));  // line breaks do not survive
    item(2)->trigger();
    EXPECT_EQ(editorText().toStdString(), longScript);
}

TEST_F(CustomSimulationsTest, LoadingSkipsThePreambleAndStopsAtTheTwentyFirstRecord) {
    QByteArray bytes = "ignored before the first header\r\n";
    for (int i = 1; i <= 21; ++i) bytes += "---S" + QByteArray::number(i) + "\r\nMar,XZ,Now\r\n";
    QFile file(customPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    open();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("Only 20 custom simulations are allowed.  The first 20 have been "
                             "loaded, and the others will be ignored."));
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Too many simulations"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(item(1)->text(), QStringLiteral("S1"));
    EXPECT_EQ(item(20)->text(), QStringLiteral("S20"));
    EXPECT_TRUE(item(20)->isVisible());
}

TEST_F(CustomSimulationsTest, AFailedWriteIsReportedAndTheMenuKeepsTheNewEntry) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("custom.sim")));  // a folder in the way
    save("Walk", "Mar,XZ,Now");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QDir::toNativeSeparators(customPath())));
    EXPECT_EQ(item(1)->text(), QStringLiteral("Walk"));
}

}  // namespace
}  // namespace velistrad
