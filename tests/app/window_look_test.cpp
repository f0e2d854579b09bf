// How the window looks to a new user: the editor wide enough that lines
// break between words, the room shared between plan and editor, help texts
// that flow, Kiosk Mode that shows it is on and keeps the window's size,
// and a focus ring that can be seen on every control.
#include <QLabel>
#include <QSplitter>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/focus_ring.h"
#include "app/help_texts.h"
#include "app/plan_view.h"
#include "simulations/catalogue.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

using WindowLookTest = WindowTest;

// Where the editor breaks a line of its own accord, between two letters or
// digits: "Del" / "ay". Empty when every break falls beside a blank or a sign.
QString wordsBroken(const QPlainTextEdit& editor) {
    QStringList broken;
    for (QTextBlock block = editor.document()->firstBlock(); block.isValid();
         block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QString text = block.text();
        for (int i = 1; i < layout->lineCount(); ++i) {
            const int at = layout->lineAt(i).textStart();
            if (at > 0 && at < text.size() && text[at - 1].isLetterOrNumber() &&
                text[at].isLetterOrNumber())
                broken << text.mid(at - 3, 3) + qs(" / ") + text.mid(at, 3);
        }
    }
    return broken.join(qs(", "));
}

TEST_F(WindowLookTest, EditorBreaksLinesBetweenWordsAndThePlanTakesTheHeight) {
    // At first start, every built-in script reads without a word cut in two.
    QCoreApplication::processEvents();
    for (std::size_t i = 0; i < kCatalogueSize; ++i) {
        window->loadCatalogueEntry(i);
        QCoreApplication::processEvents();
        EXPECT_EQ(wordsBroken(*editor()), QString()) << catalogue()[i].caption;
    }
    // Maximised on a wide screen the plan is as tall as the window lets it
    // be, and the editor keeps a width that reads well.
    window->resize(1920, 1040);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QRectF plan = window->plan()->planRect();
    EXPECT_GT(plan.height(), window->plan()->height() - 6);
    EXPECT_LT(editor()->width(), 600);
    EXPECT_GE(editor()->width(), editor()->sizeHint().width());
}

// Paragraphs flow and keep every word; lines that stand alone stay alone.
TEST(HelpTextTest, ParagraphsFlowAndKeepTheirWords) {
    struct Row {
        const char* name;
        QString text;
        qsizetype lines;    // after flowing
        const char* alone;  // a line that must stay on its own
    };
    const Row rows[] = {
        {"Basics", basicsText(), 8, "Floor Movement Examples: "},
        {"How To Use", howToUseText(), 3, "2. Click the Play button at the bottom of the screen."},
        {"About", aboutText(), 11, "Version 1.3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString flowed = flowedParagraphs(row.text);
        const QStringList lines = flowed.split(QLatin1Char('\n'));
        EXPECT_EQ(lines.size(), row.lines) << flowed.toStdString();
        EXPECT_TRUE(lines.contains(qs(row.alone)));
        QString original = row.text;
        original.replace(qs("\r\n"), qs(" "));
        QString joined = flowed;
        joined.replace(QLatin1Char('\n'), QLatin1Char(' '));
        EXPECT_EQ(joined.simplified(), original.simplified());  // word for word
    }
    // The first paragraph of the Basics is one line: it was broken mid-phrase.
    EXPECT_TRUE(
        flowedParagraphs(basicsText())
            .startsWith(qs("The shaded area on this diagram represents a walking band which "
                           "is always wide enough for two Officers to walk side by side.")));
}

TEST_F(WindowLookTest, KioskModeShowsItIsOnAndKeepsTheWindowSize) {
    window->simulator().setSpeed(5);
    // As narrow as it goes, where a long text would most easily widen it.
    window->resize(window->minimumSizeHint());
    QCoreApplication::processEvents();
    QAction* kiosk = child<QAction>(qs("Toggle_Kiosk"));
    const QString title = window->windowTitle();
    const QSize size = window->size();
    QString playing;  // the script of the movement seen playing last
    int movements = 0;
    int resizedIn = -1;  // the movement during which the window first changed size
    bool shownOn = true;
    scripted.eachPass = [&] {
        if (window->size() != size && resizedIn < 0) resizedIn = movements;
        if (!window->simulator().busy || editorText() == playing) return;
        playing = editorText();
        ++movements;
        const auto* status = child<QLabel>(qs("KioskStatus"));
        shownOn = shownOn && kiosk->isChecked() &&
                  window->windowTitle() == title + qs(" — Kiosk Mode") && status->isVisible();
        if (movements == 4) kiosk->trigger();  // chosen again in the fourth movement
    };
    kiosk->trigger();
    EXPECT_EQ(movements, 4);
    EXPECT_EQ(resizedIn, -1);
    EXPECT_TRUE(shownOn);
    EXPECT_FALSE(kiosk->isChecked());
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_FALSE(child<QLabel>(qs("KioskStatus"))->isVisible());
}

// Tab brings a ring that stands out from the green speed button's colour
// all round it; a click gives focus without one, as a browser does.
TEST_F(WindowLookTest, KeyboardFocusShowsAPlainRing) {
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    QPushButton* medium = child<QPushButton>(qs("SpeedB(2)"));  // the green one
    medium->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    FocusRing* ring = FocusRing::shown();
    ASSERT_NE(ring, nullptr);
    EXPECT_TRUE(ring->geometry().contains(medium->geometry()));
    const QImage shot = window->grab().toImage();
    const QRect on(medium->mapTo(window.get(), QPoint(0, 0)), medium->size());
    // Each edge of the button, one pixel in, is the ring's colour.
    for (const QPoint p :
         {QPoint(on.center().x(), on.top() + 1), QPoint(on.center().x(), on.bottom() - 1),
          QPoint(on.left() + 1, on.center().y()), QPoint(on.right() - 1, on.center().y())})
        EXPECT_EQ(shot.pixelColor(p), FocusRing::kColour) << p.x() << "," << p.y();

    editor()->setFocus(Qt::TabFocusReason);  // the ring follows
    QCoreApplication::processEvents();
    ASSERT_NE(FocusRing::shown(), nullptr);
    EXPECT_TRUE(FocusRing::shown()->geometry().contains(editor()->geometry()));
    QTest::mouseClick(medium, Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(FocusRing::shown(), nullptr);
}

}  // namespace
}  // namespace velistrad
