// Following an officer in the window: a click on the plan and the Officer
// list choose alike, the part panel lists the entries that move him and
// leads to them, and the exported view is the plan as shown.
#include <QComboBox>
#include <QDockWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/follow_officer.h"
#include "app/qt_platform.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

constexpr const char* kScript = "SC, XZE, Now, Mar, XZTCEVU, After, CH, XZ, Now, Mar, UZX, Unsync";
constexpr int kMar = 0;
constexpr int kSC = 10;

class FollowWindowTest : public WindowTest {
protected:
    QImage plan() const {
        return window->Figure1()->grab().toImage().copy(window->Figure1()->planRect().toRect());
    }
    // Clicks the plan where the officer is drawn: his marker, or his station.
    void clickOn(int officer) const {
        const Officer& o = window->simulator().room().officer(officer);
        const QPointF at((o.curX + kMarkerCentreDx) / 15, (o.curY + kMarkerCentreDy) / 15);
        QTest::mouseClick(window->Figure1(), Qt::LeftButton, {},
                          window->Figure1()->planTransform().map(at).toPoint());
    }
    QStringList partTexts() const {
        QStringList texts;
        const auto* list = child<QTreeWidget>(QStringLiteral("OfficerPartList"));
        for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(2);
        return texts;
    }
};

TEST_F(FollowWindowTest, ClickAndListChooseAlikeAndNoneDrawsThePlanAsBefore) {
    setEditorText(kScript);
    playButton()->click();
    window->simulator().seekTo(60);                // SC on his way, Mar still at home
    trigger(QStringLiteral("Officer_PartPanel"));  // the panel's room is made before
    QCoreApplication::processEvents();
    const QImage untouched = plan();
    auto* chooser = child<QComboBox>(QStringLiteral("OfficerChooser"));
    for (const int officer : {kSC, kMar}) {
        SCOPED_TRACE(officer);
        clickOn(officer);
        EXPECT_EQ(window->following().selected(), officer);
        EXPECT_EQ(chooser->currentIndex(), officer + 1);
        EXPECT_TRUE(child<QAction>(QStringLiteral("Officer(%1)").arg(officer))->isChecked());
        const QImage clicked = plan();
        EXPECT_NE(clicked, untouched) << "his ring and route are drawn";
        const QStringList part = partTexts();

        trigger(QStringLiteral("Officer_None"));
        EXPECT_EQ(plan(), untouched);
        EXPECT_TRUE(partTexts().isEmpty());
        emit chooser->activated(officer + 1);
        EXPECT_EQ(window->following().selected(), officer);
        EXPECT_EQ(plan(), clicked);
        EXPECT_EQ(partTexts(), part);
        trigger(QStringLiteral("Officer_None"));
    }
    clickOn(1);  // CH, at home, has no route of his own yet but is chosen
    EXPECT_EQ(window->following().selected(), 1);
}

TEST_F(FollowWindowTest, PartPanelListsTheEntriesThatMoveHimAndLeadsToThem) {
    setEditorText(kScript);
    playButton()->click();
    trigger(QStringLiteral("Officer(0)"));
    EXPECT_TRUE(child<QDockWidget>(QStringLiteral("OfficerPartDock"))->isVisible());
    EXPECT_EQ(partTexts(), (QStringList{QStringLiteral("Mar, XZTCEVU, After"),
                                        QStringLiteral("Mar, UZX, Unsync")}));
    auto* list = child<QTreeWidget>(QStringLiteral("OfficerPartList"));
    const auto played = window->simulator().played();
    for (const EntryFrames& e : played->entries()) {
        if (e.entry != 3) continue;
        emit list->itemClicked(list->topLevelItem(1), 0);
        EXPECT_EQ(window->simulator().playedFrames(), e.first + 1);
        EXPECT_EQ(editor()->textCursor().selectedText(), QStringLiteral("Mar, UZX, Unsync"));
    }
    // Times follow the speed.
    const QString medium = list->topLevelItem(1)->text(0);
    trigger(QStringLiteral("Speed(1)"));
    EXPECT_NE(list->topLevelItem(1)->text(0), medium);

    // The exported view is the plan as the window shows it at its natural size.
    window->resize(1600, window->height());
    QCoreApplication::processEvents();
    trigger(QStringLiteral("Officer_AllTrails"));
    dialogs.files = {dir.filePath(QStringLiteral("view"))};
    trigger(QStringLiteral("Export_Png"));
    EXPECT_EQ(
        QImage(dir.filePath(QStringLiteral("view.png"))).convertToFormat(QImage::Format_RGB32),
        plan().convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace velistrad
