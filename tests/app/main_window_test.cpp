// The main window from the user's side: start-up, the File and Speed menus,
// Play / Pause, Reset, Kiosk Mode and Quit, driven through the window's own
// actions and buttons.
#include <QApplication>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QMenu>
#include <QPalette>

#include "app/catalogue/catalogue.h"
#include "app/qt_platform.h"
#include "engine/playback.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

const QColor kGreen(0x80, 0xFF, 0x80);

QString qs(const char* text) {
    return QString::fromUtf8(text);
}

std::size_t entryIndex(const char* item) {
    for (std::size_t i = 0; i < catalogue().size(); ++i)
        if (QByteArray(catalogue()[i].item) == item) return i;
    ADD_FAILURE() << item;
    return 0;
}

std::vector<std::pair<float, float>> positions(const ChapterRoom& room) {
    std::vector<std::pair<float, float>> out;
    for (int i = 0; i < kOfficerCount; ++i)
        out.emplace_back(room.officer(i).curX, room.officer(i).curY);
    return out;
}

bool allAtStations(const ChapterRoom& room) {
    for (int i = 0; i < kOfficerCount; ++i)
        if (!room.officer(i).atStation()) return false;
    return true;
}

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsWithPlaceholderMediumSpeedAndPlayPicture) {
    EXPECT_EQ(editorText(), qs(kPlaceholderText));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Velistrad Simulator"));
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(child<QAction>(QStringLiteral("Speed(%1)").arg(i))->isChecked(), i == 3) << i;
    for (int i = 0; i < 5; ++i) {
        const auto* b = child<QPushButton>(QStringLiteral("SpeedB(%1)").arg(i));
        EXPECT_EQ(b->text(), QString::number(i + 1));
        EXPECT_EQ(b->palette().color(QPalette::Button) == kGreen, i == 2) << i;
    }
    EXPECT_TRUE(showsPlayPicture(child<QPushButton>(QStringLiteral("Simulate"))));
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("Pause"))->isVisible());
    EXPECT_FALSE(child<QPushButton>(QStringLiteral("Swap"))->isVisible());
    EXPECT_FALSE(child<QAction>(QStringLiteral("Toggle_HideCode"))->isChecked());
    EXPECT_EQ(child<QMenu>(QStringLiteral("M_Speed"))->title(), QStringLiteral("S&peed"));
    EXPECT_EQ(child<QAction>(QStringLiteral("Speed(5)"))->shortcut(), QKeySequence(Qt::Key_F5));
    const auto* none = child<QAction>(QStringLiteral("CustomSim(1)"));
    EXPECT_EQ(none->text(), QStringLiteral("(none)"));
    EXPECT_FALSE(none->isEnabled());
    EXPECT_FALSE(child<QAction>(QStringLiteral("CustomSim(2)"))->isVisible());
    EXPECT_DOUBLE_EQ(window->simulator().framedelay, 0.025);
    EXPECT_TRUE(window->simulator().paused);
}

TEST_F(MainWindowTest, ClickingIntoTheEditorClearsOnlyThePlaceholder) {
    // Focus that comes back by itself, with the window or after a menu, is
    // not the user going into the editor.
    for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent returned(QEvent::FocusIn, reason);
        QApplication::sendEvent(editor(), &returned);
        EXPECT_EQ(editorText(), qs(kPlaceholderText)) << reason;
    }
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(editor(), &focusIn);
    EXPECT_EQ(editorText(), QString());
    setEditorText("Mar,XZX,Now");
    QApplication::sendEvent(editor(), &focusIn);
    EXPECT_EQ(editorText(), QStringLiteral("Mar,XZX,Now"));
    setEditorText("Program your own simulations here, or pick one from the Simulations menu..");
    QApplication::sendEvent(editor(), &focusIn);
    EXPECT_FALSE(editorText().isEmpty()) << "two dots are not the placeholder";
}

TEST_F(MainWindowTest, HideSimulationCodeFlipsEditorAndCheckMarkTogether) {
    auto* hide = child<QAction>(QStringLiteral("Toggle_HideCode"));
    hide->trigger();
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_TRUE(hide->isChecked());
    // A hidden editor still feeds Play.
    window->simulator().Speed_Click(5);
    setEditorText("Mar,XZ,Now");
    child<QPushButton>(QStringLiteral("Simulate"))->click();
    EXPECT_FALSE(window->simulator()
                     .room()
                     .officer(window->simulator().room().findofficer("MAR"))
                     .atStation());
    hide->trigger();
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_FALSE(hide->isChecked());
}

TEST_F(MainWindowTest, SpeedMenuAndButtonsMoveCheckMarkGreenAndDelay) {
    struct Row {
        const char* control;
        int checked;
        double delay;
    };
    const Row rows[] = {{"Speed(4)", 4, 0.01},
                        {"SpeedB(1)", 2, 0.05},
                        {"Speed(1)", 1, 0.07},
                        {"SpeedB(4)", 5, 0.0},
                        {"Speed(5)", 5, 0.0}};
    for (const Row& row : rows) {
        const QString name = qs(row.control);
        if (name.startsWith(QStringLiteral("SpeedB")))
            child<QPushButton>(name)->click();
        else
            trigger(name);
        for (int i = 1; i <= 5; ++i) {
            EXPECT_EQ(child<QAction>(QStringLiteral("Speed(%1)").arg(i))->isChecked(),
                      i == row.checked)
                << row.control << " item " << i;
            EXPECT_EQ(child<QPushButton>(QStringLiteral("SpeedB(%1)").arg(i - 1))
                              ->palette()
                              .color(QPalette::Button) == kGreen,
                      i == row.checked)
                << row.control << " button " << i - 1;
        }
        EXPECT_DOUBLE_EQ(window->simulator().framedelay, row.delay) << row.control;
    }
}

TEST_F(MainWindowTest, EveryCatalogueItemLoadsItsScriptAfterReset) {
    window->simulator().Speed_Click(5);
    const auto& entries = catalogue();
    for (const CatalogueEntry& entry : entries) {
        setEditorText("MC,XZ,Now");
        child<QPushButton>(QStringLiteral("Simulate"))->click();  // someone away from his station
        trigger(qs(entry.item));
        EXPECT_TRUE(allAtStations(window->simulator().room())) << entry.item;
        const std::size_t own = entry.sharesScriptOf ? std::size_t(entry.sharesScriptOf - 1)
                                                     : std::size_t(&entry - entries.data());
        EXPECT_EQ(editorText(), qs(entries[own].script)) << entry.item;
        EXPECT_FALSE(window->simulator().busy);
    }
    EXPECT_EQ(child<QAction>(QStringLiteral("Do_SD_Altar2"))->parent()->objectName(),
              QStringLiteral("M_Closing"));
    trigger(QStringLiteral("Do_SD_Altar2"));
    EXPECT_EQ(editorText(), qs(entries[entryIndex("Do_SD_Altar")].script));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, ResetKeepsThePlaceholder) {
    trigger(QStringLiteral("Do_Reset"));
    EXPECT_EQ(editorText(), qs(kPlaceholderText));
    EXPECT_TRUE(allAtStations(window->simulator().room()));
}

TEST_F(MainWindowTest, PlayPausesAndResumesWithPictureExchange) {
    auto* play = child<QPushButton>(QStringLiteral("Simulate"));
    window->simulator().Speed_Click(5);
    // The delay keeps the run alive long enough for the scripted presses.
    setEditorText("Mar,XZCEVU,Now,All,Delay,0.4,Mar,UZX,After");
    bool pauseShownWhilePlaying = false;
    bool playShownWhilePaused = false;
    bool frozenWhilePaused = false;
    std::vector<std::pair<float, float>> atPause;
    after(20, [&] {
        pauseShownWhilePlaying = window->simulator().busy && showsPausePicture(play);
        play->click();  // pause
        playShownWhilePaused = showsPlayPicture(play);
    });
    after(500, [&] { atPause = positions(window->simulator().room()); });
    after(700, [&] {
        frozenWhilePaused =
            atPause == positions(window->simulator().room()) && window->simulator().busy;
        play->click();  // resume
    });
    play->click();
    EXPECT_TRUE(pauseShownWhilePlaying);
    EXPECT_TRUE(playShownWhilePaused);
    EXPECT_TRUE(frozenWhilePaused);
    EXPECT_TRUE(showsPlayPicture(play));
    EXPECT_FALSE(window->simulator().busy);
    EXPECT_TRUE(window->simulator().paused);
    EXPECT_TRUE(allAtStations(window->simulator().room())) << "the run played to its end";
    EXPECT_TRUE(window->Figure1()->circles().empty());
}

TEST_F(MainWindowTest, ResetDuringPlaybackHaltsRunAndKeepsScriptThenQuitUnwinds) {
    window->simulator().Speed_Click(5);
    const char* script = "Mar,XZCEVU,Now,All,Delay,0.4,Mar,UZX,After";
    setEditorText(script);
    bool resetState = false;
    after(20, [&] { trigger(QStringLiteral("Do_Reset")); });
    after(150, [&] {
        resetState = editorText() == qs(script) && allAtStations(window->simulator().room()) &&
                     window->simulator().paused && !window->simulator().busy;
        trigger(QStringLiteral("Quit_Simulator"));
    });
    child<QPushButton>(QStringLiteral("Simulate"))->click();  // returns only through Quit
    EXPECT_TRUE(resetState);
    EXPECT_TRUE(window->simulator().abandoned());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.referenceClosed, 1);
}

TEST_F(MainWindowTest, KioskModeChosenAgainStopsAfterTheCurrentSimulation) {
    window->simulator().Speed_Click(5);
    bool playingFirst = false;
    // Chosen again once the first simulation of the cycle is playing.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window->simulator().busy ||
            editorText() != qs(catalogue()[entryIndex("Do_Officers_Enter")].script))
            return;
        poll.stop();
        playingFirst = true;
        trigger(QStringLiteral("Toggle_Kiosk"));
    });
    poll.start(5);
    trigger(QStringLiteral("Toggle_Kiosk"));  // returns when the loop ends
    EXPECT_TRUE(playingFirst);
    EXPECT_FALSE(window->kioskmode());
    EXPECT_FALSE(child<QAction>(QStringLiteral("Toggle_Kiosk"))->isChecked());
    EXPECT_EQ(editorText(), qs(catalogue()[entryIndex("Do_Officers_Enter")].script));
    // The first simulation was played to its end, not cut short.
    EXPECT_EQ(positions(window->simulator().room()),
              positions(playedThrough(catalogue()[entryIndex("Do_Officers_Enter")].script)));
}

TEST_F(MainWindowTest, QuitDuringPlaybackEndsTheEventLoopPromptly) {
    bool runReturned = false;
    after(0, [&] {
        trigger(QStringLiteral("Do_Chap"));
        window->simulator().Simulate_Click();
        runReturned = true;
    });
    after(300, [&] { trigger(QStringLiteral("Quit_Simulator")); });
    // A failure shows as a hang, which the suite's time-out catches.
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(runReturned);
    EXPECT_TRUE(window->simulator().abandoned());
}

}  // namespace
}  // namespace velistrad
