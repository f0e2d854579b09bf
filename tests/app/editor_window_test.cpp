// The editor that helps as the user types, and a window that fits the screen.
#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <QToolButton>

#include "app/qt_platform.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

class EditorWindowTest : public WindowTest {
protected:
    ScriptEdit* scriptEdit() const { return static_cast<ScriptEdit*>(editor()); }
    QString problems() const {
        const auto* button = child<QToolButton>(QStringLiteral("Problems"));
        return button->isVisible() ? button->property("fullText").toString() : QString();
    }
    void type(const char* text) {
        editor()->setFocus();
        QTest::keyClicks(editor(), qs(text));
    }
};

TEST_F(EditorWindowTest, ABadFieldIsUnderlinedListedAndClearedOnceFixed) {
    editor()->clear();
    type("Mar, XZ, Now, XX, XZ, Soon");
    window->checkScriptNow();  // the moment after the last keystroke
    using Ranges = std::vector<std::pair<int, int>>;
    EXPECT_EQ(scriptEdit()->problemRanges(FieldStyle::Error), (Ranges{{14, 16}}));
    EXPECT_EQ(scriptEdit()->problemRanges(FieldStyle::Warning), (Ranges{{21, 26}}));
    EXPECT_EQ(scriptEdit()->problemAt(15), QStringLiteral("Unknown officer: XX"));
    EXPECT_EQ(problems(), QStringLiteral("entry 2, \"XX, XZ, Soon\": Unknown officer: XX"));
    EXPECT_EQ(child<QLabel>(QStringLiteral("EntryStatus"))->text(),
              QStringLiteral("entry 2 of 2 · XX · XZ · Soon"));

    // Changing the field takes its underline away at once; the check agrees.
    QTextCursor cursor = editor()->textCursor();
    cursor.setPosition(14);
    cursor.setPosition(16, QTextCursor::KeepAnchor);
    editor()->setTextCursor(cursor);
    type("SC");
    EXPECT_TRUE(scriptEdit()->problemRanges(FieldStyle::Error).empty());
    window->checkScriptNow();
    EXPECT_TRUE(scriptEdit()->problemRanges(FieldStyle::Error).empty());
    EXPECT_TRUE(problems().isEmpty());
    editor()->undo();  // undo still works through the colouring
    EXPECT_EQ(editorText(), QStringLiteral("Mar, XZ, Now, XX, XZ, Soon"));
}

TEST_F(EditorWindowTest, PlayShowsTheBoxesThenSelectsTheFailingEntry) {
    setEditorText("MC, XZR, Now,\n Ch, XZW, After");
    playButton()->click();
    EXPECT_EQ(dialogs.messages,
              (std::vector<std::string>{"Velistrad Simulator: Unknown direction: W",
                                        "Error Details: Error occurred while processing: CH, "
                                        "XZW, AFTER"}));
    EXPECT_EQ(editor()->textCursor().selectedText(), QStringLiteral("Ch, XZW, After"));
    EXPECT_EQ(scriptEdit()->problemRanges(FieldStyle::Error),
              (std::vector<std::pair<int, int>>{{21, 22}}));
}

TEST_F(EditorWindowTest, OfficersAndTimingWordsAreOfferedAfterAComma) {
    editor()->clear();
    type("Ma");
    QCompleter* completer = scriptEdit()->completer();
    ASSERT_TRUE(completer->popup()->isVisible());
    EXPECT_EQ(completer->currentCompletion(), QStringLiteral("Mar"));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    type(", XZ, a");
    EXPECT_EQ(completer->currentCompletion(), QStringLiteral("After"));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(editorText(), QStringLiteral("Mar, XZ, After"));
    type(", XZ");  // a Direction is never completed
    EXPECT_FALSE(completer->popup()->isVisible());
}

TEST_F(EditorWindowTest, TheWindowFitsSmallScreensAndThePlanScalesWithIt) {
    const QSize natural = window->sizeHint();
    window->fitToScreen(QRect(0, 0, 1280, 720));
    QCoreApplication::processEvents();
    EXPECT_LE(window->height(), 720 - 40);
    const QRect inside = window->rect();
    for (const char* name : {"Simulate", "SpeedB(0)", "SpeedB(4)"}) {
        const auto* button = child<QPushButton>(qs(name));
        EXPECT_TRUE(
            inside.contains(QRect(button->mapTo(window.get(), QPoint(0, 0)), button->size())))
            << name;
    }
    // Larger: the plan grows with the height, keeps its aspect, and the
    // width it cannot use goes to the editor.
    PlanView* plan = window->Figure1();
    const QRectF small = plan->planRect();
    window->resize(natural.width() * 3, natural.height() * 2);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QRectF large = plan->planRect();
    EXPECT_GT(large.height(), 1.8 * small.height());
    EXPECT_NEAR(large.width() / large.height(), 482.0 / 696.0, 0.01);
    EXPECT_GT(editor()->width(), natural.width());
    EXPECT_LT(plan->width() - large.width(), 10);
}

}  // namespace
}  // namespace velistrad
