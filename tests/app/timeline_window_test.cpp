// The timeline under the plan: moving it holds a playing run and moves
// everyone; the Playback keys step where the plan or the slider has focus;
// Play goes on from the frame shown; Reset clears it; the editor marks the
// entries of the frame shown.
#include <QLabel>
#include <QSlider>
#include <QTest>

#include "app/qt_platform.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

constexpr const char* kScript = "MC,XZR,Now, SC,XZE,After";

class TimelineWindowTest : public WindowTest {
protected:
    QSlider* slider() const { return child<QSlider>(QStringLiteral("Timeline")); }
    QString readout() const { return child<QLabel>(QStringLiteral("TimelineReadout"))->text(); }
    Simulator& sim() const { return window->simulator(); }
    QString marked() const {
        const auto marks = editor()->extraSelections();
        return marks.isEmpty() ? QString() : marks.front().cursor.selectedText();
    }
};

TEST_F(TimelineWindowTest, DraggingDuringPlayHoldsAndPlayGoesOnToTheSameEnd) {
    EXPECT_FALSE(slider()->isEnabled());
    const ChapterRoom uninterrupted = playedThrough(kScript);
    setEditorText(kScript);
    bool heldByDrag = false;
    at(0.5, [&] {
        // The run plays: a press on the slider holds it, a move shows frame 50.
        emit slider()->sliderPressed();
        heldByDrag = sim().paused && sim().busy;
        slider()->setValue(50);
        EXPECT_EQ(sim().playedFrames(), 50u);
        EXPECT_TRUE(readout().startsWith(QStringLiteral("frame 50 / ")));
        EXPECT_EQ(marked(), QStringLiteral("MC,XZR,Now"));
        playButton()->click();  // resume from frame 50
    });
    playButton()->click();
    EXPECT_TRUE(heldByDrag && !sim().busy);
    EXPECT_EQ(positions(sim().room()), positions(uninterrupted));
    EXPECT_EQ(slider()->value(), slider()->maximum());
    EXPECT_EQ(marked(), QStringLiteral(" SC,XZE,After"));
}

TEST_F(TimelineWindowTest, KeysStepWhereThePlanHasFocusAndResetClears) {
    setEditorText(kScript);
    playButton()->click();
    const std::size_t end = sim().played()->size();
    window->Figure1()->setFocus();
    QTest::keyClick(window->Figure1(), Qt::Key_Home);
    EXPECT_TRUE(sim().playedFrames() == 0 && allAtStations(sim().room()));
    QTest::keyClick(window->Figure1(), Qt::Key_Right);
    QTest::keyClick(window->Figure1(), Qt::Key_Right, Qt::ShiftModifier);  // MC's first frame
    EXPECT_EQ(marked(), QStringLiteral("MC,XZR,Now"));
    QTest::keyClick(window->Figure1(), Qt::Key_Right, Qt::ShiftModifier);  // SC's
    const std::size_t scStarts = sim().playedFrames();
    EXPECT_EQ(marked(), QStringLiteral(" SC,XZE,After"));
    QTest::keyClick(window->Figure1(), Qt::Key_Left);
    EXPECT_EQ(sim().playedFrames(), scStarts - 1);
    QTest::keyClick(window->Figure1(), Qt::Key_End);
    EXPECT_EQ(sim().playedFrames(), end);

    // In the editor the arrows move the text cursor, not the timeline.
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_Home);
    EXPECT_EQ(sim().playedFrames(), end);

    trigger(QStringLiteral("Do_Reset"));
    EXPECT_TRUE(sim().played() == nullptr && !slider()->isEnabled() && readout().isEmpty());
}

}  // namespace
}  // namespace velistrad
