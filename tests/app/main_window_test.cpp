// The main window from the user's side: start-up, the File and Speed menus,
// Play / Pause, Reset, Kiosk Mode and Quit, driven through the window's own
// actions and buttons.
#include <algorithm>

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QPalette>
#include <QTimer>

#include "simulations/catalogue.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

// A long run, so that the scripted presses land while it plays.
constexpr const char* kLongRun = "Mar,XZCEVU,Now,All,Delay,0.4,Mar,UZX,After";

// '>' for the play triangle, '=' for the pause bars, '?' for anything else.
char picture(const QPushButton* button) {
    const QImage image = button->icon().pixmap(16, 16).toImage();
    if (image.isNull() || image.pixelColor(6, 8).alpha() < 128) return '?';
    return image.pixelColor(10, 4).alpha() > 128 ? '=' : '>';
}

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsWithPlaceholderWhichResetKeepsAndHideCodeFlipsTheEditor) {
    EXPECT_EQ(picture(playButton()), '>');  // the My Simulations menu has its own tests
    trigger(QStringLiteral("Do_Reset"));
    EXPECT_EQ(editorText(), qs(kPlaceholderText));
    auto* hide = child<QAction>(QStringLiteral("Toggle_HideCode"));
    for (const bool hidden : {true, false}) {  // check mark and editor flip together
        hide->trigger();
        EXPECT_TRUE(editor()->isHidden() == hidden && hide->isChecked() == hidden);
        if (!hidden) continue;
        setEditorText("Mar,XZ,Now");  // a hidden editor still feeds Play
        window->simulator().Speed_Click(5);
        playButton()->click();
        EXPECT_FALSE(allAtStations(window->simulator().room()));
    }
}

TEST_F(MainWindowTest, OnlyTheUsersClickClearsOnlyThePlaceholder) {
    const QString placeholder = qs(kPlaceholderText), script = QStringLiteral("Mar,XZX,Now");
    const struct {
        Qt::FocusReason reason;  // focus coming back by itself is not the user
        QString before, after;
    } rows[] = {{Qt::ActiveWindowFocusReason, placeholder, placeholder},
                {Qt::PopupFocusReason, placeholder, placeholder},
                {Qt::MouseFocusReason, placeholder.chopped(1), placeholder.chopped(1)},
                {Qt::MouseFocusReason, placeholder, QString()},
                {Qt::MouseFocusReason, script, script}};
    for (const auto& row : rows) {
        editor()->setPlainText(row.before);
        QFocusEvent focusIn(QEvent::FocusIn, row.reason);
        QApplication::sendEvent(editor(), &focusIn);
        EXPECT_EQ(editorText(), row.after) << row.reason << " " << row.before.toStdString();
    }
}

TEST_F(MainWindowTest, SpeedMenuAndButtonsMoveCheckMarkGreenAndDelay) {
    // The control (empty: as started), the item checked and green, the delay.
    const std::tuple<const char*, int, double> rows[] = {{"", 3, 0.025},
                                                         {"Speed(4)", 4, 0.01},
                                                         {"SpeedB(1)", 2, 0.05},
                                                         {"Speed(1)", 1, 0.07},
                                                         {"SpeedB(4)", 5, 0.0}};
    for (const auto& [control, checked, delay] : rows) {
        SCOPED_TRACE(control);
        // A button is clicked, a menu item triggered.
        EXPECT_TRUE(!*control ||
                    QMetaObject::invokeMethod(window->findChild<QObject*>(qs(control)),
                                              control[5] == 'B' ? "click" : "trigger"));
        for (int i = 1; i <= 5; ++i) {
            const auto* button = child<QPushButton>(QStringLiteral("SpeedB(%1)").arg(i - 1));
            EXPECT_EQ(button->palette().color(QPalette::Button) == QColor(0x80, 0xFF, 0x80),
                      i == checked);
            EXPECT_EQ(child<QAction>(QStringLiteral("Speed(%1)").arg(i))->isChecked(),
                      i == checked);
        }
        EXPECT_DOUBLE_EQ(window->simulator().framedelay, delay);
    }
}

// That a held run stays frozen is tested on the simulator.
TEST_F(MainWindowTest, PlayPausesAndResumesWithPictureExchange) {
    setEditorText(kLongRun);
    std::string pictures;
    at(0.2, [&] {
        pictures += window->simulator().busy ? picture(playButton()) : 'x';
        playButton()->click();  // pause
        pictures += picture(playButton());
    });
    at(3.0, [&] { playButton()->click(); });  // resume
    playButton()->click();
    EXPECT_EQ(pictures + picture(playButton()), "=>>");
    EXPECT_FALSE(window->simulator().busy);
    EXPECT_TRUE(allAtStations(window->simulator().room())) << "the run played to its end";
}

TEST_F(MainWindowTest, ResetDuringPlaybackKeepsScriptThenQuitEndsTheEventLoop) {
    bool runReturned = false, resetState = false, playingAtQuit = false;
    // Started from the event loop, as a click would be; the rest happens in
    // the run's waits.
    QTimer::singleShot(0, window.get(), [&] {
        setEditorText(kLongRun);
        playButton()->click();  // returns only through Quit
        runReturned = true;
    });
    at(0.2, [&] { trigger(QStringLiteral("Do_Reset")); });
    at(1.5, [&] {
        resetState = editorText() == qs(kLongRun) && allAtStations(window->simulator().room()) &&
                     window->simulator().paused && !window->simulator().busy;
        trigger(QStringLiteral("Do_Chap"));
        window->simulator().Simulate_Click();  // playing again, nested
    });
    at(3.0, [&] {
        playingAtQuit = window->simulator().busy;
        trigger(QStringLiteral("Quit_Simulator"));
    });
    // A failure shows as a hang, which the suite's time-out catches.
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(runReturned && resetState && playingAtQuit);
    EXPECT_TRUE(window->simulator().abandoned() && !window->isVisible());
    EXPECT_EQ(dialogs.referenceClosed, 1);
}

TEST_F(MainWindowTest, KioskModeChosenAgainStopsAfterTheCurrentSimulation) {
    window->simulator().Speed_Click(5);
    const auto& entries = catalogue();
    const auto enter = std::find_if(entries.begin(), entries.end(), [](const CatalogueEntry& e) {
        return qstrcmp(e.item, "Do_Officers_Enter") == 0;
    });
    ASSERT_NE(enter, entries.end());
    const char* first = enter->script;
    bool playingFirst = false;
    // Chooses it again once the first simulation of the cycle plays.
    scripted.eachPass = [&] {
        if (playingFirst || !window->simulator().busy || editorText() != qs(first)) return;
        playingFirst = true;
        trigger(QStringLiteral("Toggle_Kiosk"));
    };
    trigger(QStringLiteral("Toggle_Kiosk"));  // returns when the loop ends
    EXPECT_TRUE(playingFirst && !window->kioskmode());
    EXPECT_FALSE(child<QAction>(QStringLiteral("Toggle_Kiosk"))->isChecked());
    EXPECT_EQ(editorText(), qs(first));
    // The first simulation was played to its end, not cut short.
    EXPECT_EQ(positions(window->simulator().room()), positions(playedThrough(first)));
}

}  // namespace
}  // namespace velistrad
