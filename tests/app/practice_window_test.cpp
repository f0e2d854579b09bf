// Practising a part in the window: the run holds before each of his entries
// and asks; a right pick plays on, a wrong one shows his route and asks again
// at the end; the round's score is kept and known movements are marked. And
// the room's words where the learner reads them: menus, panel, status bar.
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>

#include "app/practice_session.h"
#include "engine/simulator.h"
#include "simulations/catalogue.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

constexpr int kSD = 21;
constexpr std::size_t kWordOfTheDay = 1;

class PracticeWindowTest : public WindowTest {
protected:
    void SetUp() override {
        // A fresh practice record for every test.
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .remove(qs(kProgressFileName));
        WindowTest::SetUp();
        trigger(qs("Speed(5)"));  // Lightning: the round plays without waiting
    }
    PracticeSession& practice() const { return *window->findChild<PracticeSession*>(); }
    bool waitForQuestion() const {
        return QTest::qWaitFor([this] { return practice().asking(); }, 30000);
    }
    // Answers by picking from the list, right or wrong.
    void pick(bool right) const {
        const PracticeQuestion& q = practice().round()->current();
        auto* list = child<QListWidget>(qs("PracticeChoices"));
        for (int i = 0; i < list->count(); ++i) {
            if (rightPick(q, list->item(i)->text().toStdString()) != right) continue;
            list->setCurrentRow(i);
            emit list->itemActivated(list->item(i));
            return;
        }
        ADD_FAILURE() << "no " << (right ? "right" : "wrong") << " choice";
    }
    Simulator& sim() const { return window->simulator(); }
    QImage plan() const {
        return window->plan()->grab().toImage().copy(window->plan()->planRect().toRect());
    }
    QString feedback() const { return child<QLabel>(qs("PracticeFeedback"))->text(); }
};

TEST_F(PracticeWindowTest, ARoundAsksBeforeEachOfHisEntriesAndMissedStepsComeBack) {
    ASSERT_TRUE(practice().start(kWordOfTheDay, kSD));
    EXPECT_TRUE(child<QDockWidget>(qs("PracticeDock"))->isVisible());
    ASSERT_TRUE(waitForQuestion());
    EXPECT_EQ(child<QLabel>(qs("PracticePrompt"))->text(),
              qs("Where does the Senior Deacon go now?"));
    const std::size_t total = practice().round()->questionCount();
    ASSERT_EQ(total, 3u);
    // Held just before his first entry.
    EXPECT_EQ(sim().playedFrames(), practice().round()->current().step.firstFrame);

    // Right by a click on the place his entry ends at: a tick, and it plays.
    const PracticeQuestion first = practice().round()->current();
    const QImage before = plan();
    practice().answerAt(first.step.endX + 50, first.step.endY);
    EXPECT_TRUE(feedback().startsWith(QChar(0x2713))) << feedback().toStdString();
    ASSERT_TRUE(waitForQuestion());
    EXPECT_GT(sim().playedFrames(), first.step.lastFrame);
    EXPECT_NE(plan(), before);

    // Wrong: his route is told, and the step comes back last.
    const std::size_t missedEntry = practice().round()->current().step.entry;
    pick(false);
    EXPECT_TRUE(feedback().contains(qs("comes back"))) << feedback().toStdString();
    ASSERT_TRUE(waitForQuestion());
    pick(true);
    ASSERT_TRUE(waitForQuestion());
    EXPECT_EQ(practice().round()->current().step.entry, missedEntry);
    pick(true);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return child<QPushButton>(qs("PracticeAgain"))->isVisible(); }, 30000));
    EXPECT_TRUE(feedback().startsWith(qs("2 of 3 right at the first try.")))
        << feedback().toStdString();

    // Kept, with its day; not known yet.
    const std::string name = "Opening > Deacons - Word of the Day";
    const PracticeScore* score = practice().progress().score(name, "SD");
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(score->right, 2u);
    EXPECT_FALSE(practice().progress().known(name, "SD"));

    // Practising the missed one again asks only it, and records nothing.
    child<QPushButton>(qs("PracticeAgain"))->click();
    ASSERT_TRUE(waitForQuestion());
    EXPECT_EQ(practice().round()->questionCount(), 1u);
    EXPECT_EQ(practice().round()->current().step.entry, missedEntry);
    pick(true);
    ASSERT_TRUE(QTest::qWaitFor([this] { return feedback().startsWith(qs("1 of 1")); }, 30000));
    EXPECT_EQ(practice().progress().score(name, "SD")->right, 2u);
}

TEST_F(PracticeWindowTest, TwoPerfectRoundsMarkTheMovementKnownAfterARestart) {
    auto* item = child<QAction>(qs(catalogue()[kWordOfTheDay].item));
    const QString caption = item->text();
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(practice().start(kWordOfTheDay, kSD));
        while (!practice().round()->finished()) {
            ASSERT_TRUE(waitForQuestion());
            pick(true);
        }
        ASSERT_TRUE(QTest::qWaitFor([this] { return feedback().startsWith(qs("3 of 3")); }, 30000));
    }
    EXPECT_EQ(item->text(), caption + qs(" \u2713"));
    open();  // the program again: the mark is kept
    EXPECT_EQ(child<QAction>(qs(catalogue()[kWordOfTheDay].item))->text(), caption + qs(" \u2713"));
    EXPECT_EQ(child<QAction>(qs(catalogue()[0].item))->text(), qs(catalogue()[0].caption));
}

TEST_F(PracticeWindowTest, TitlesInTheOfficerMenuAndWordsInThePanelAndStatusBar) {
    EXPECT_EQ(child<QAction>(qs("Officer(21)"))->text(), qs("Senior Deacon (SD)"));
    EXPECT_EQ(child<QAction>(qs("Officer(2)"))->text(), qs("1P"));
    setEditorText("SD,XZK-N-J-,Now, All,Delay,0.1");
    playButton()->click();
    trigger(qs("Officer(21)"));
    const auto* list = child<QTreeWidget>(qs("OfficerPartList"));
    ASSERT_EQ(list->topLevelItemCount(), 1);
    // Broken into lines to fit, never cut.
    EXPECT_EQ(
        list->topLevelItem(0)->text(3).replace(QLatin1Char('\n'), QLatin1Char(' ')).toStdString(),
        entryWords("SD,XZK-N-J-,Now, All,Delay,0.1", 0, kSD));
    const auto* status = child<QLabel>(qs("PartStatus"));
    EXPECT_FALSE(status->isHidden());
    EXPECT_TRUE(status->text().startsWith(qs("Senior Deacon: from his station")))
        << status->text().toStdString();
    trigger(qs("Officer_None"));
    EXPECT_TRUE(status->isHidden());
}

// Choosing a movement to practise leaves the open script file as choosing it
// from the menu does; kept, there is no round of a script it does not hold.
TEST_F(PracticeWindowTest, NoRoundWhileTheUserKeepsHisChangedScriptFile) {
    const QString path = dir.filePath(qs("mine.vsim"));
    writeBytes(path.toStdString(), "MC,XZR,Now");
    ASSERT_TRUE(window->openScriptFile(path));
    setEditorText("MC,XZR,Now, SC,XZ,Now");
    dialogs.saveChoice = WindowDialogs::SaveChoice::Cancel;
    EXPECT_FALSE(practice().start(kWordOfTheDay, kSD));
    EXPECT_FALSE(practice().running());
    EXPECT_EQ(editorText(), qs("MC,XZR,Now, SC,XZ,Now"));
}

}  // namespace
}  // namespace velistrad
