// The main window from the user's side, driven through its own actions and
// buttons: start-up, the File and Speed menus, Play / Pause, Reset, Kiosk
// Mode and Quit; the My Simulations menu, script files and managing; the
// timeline under the plan; the Help menu; every built-in simulation played.
// The editor that helps as the user types, a window that fits the screen,
// and following an officer: a click on the plan and the Officer list choose
// alike, the part panel lists the entries that move him and leads to them,
// and the exported view is the plan as shown.
#include <algorithm>
#include <numeric>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "app/follow_officer.h"
#include "app/help_texts.h"
#include "app/manage_dialog.h"
#include "app/plan_view.h"
#include "app/programming_reference.h"
#include "app/script_editor.h"
#include "simulations/catalogue.h"
#include "tests/app/window_fixture.h"
#include "tests/case_file.h"

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

class MainWindowTest : public WindowTest {
protected:
    QString writeFile(const char* name, const std::string& bytes) const {
        const QString path = dir.filePath(qs(name));
        writeBytes(path.toStdString(), bytes);
        return path;
    }
    // The My Simulations items shown, "~" marking one greyed out.
    QString items() const {
        QStringList shown;
        for (int i = 1; i <= 20 && customItem(i)->isVisible(); ++i)
            shown << customItem(i)->text() + (customItem(i)->isEnabled() ? QString() : qs("~"));
        return shown.join(QLatin1Char('|'));
    }
    QSlider* slider() const { return child<QSlider>(qs("Timeline")); }
    QString readout() const { return child<QLabel>(qs("TimelineReadout"))->text(); }
    Simulator& sim() const { return window->simulator(); }
    QString marked() const {
        const auto marks = editor()->extraSelections();
        return marks.isEmpty() ? QString() : marks.front().cursor.selectedText();
    }
    ScriptEdit* scriptEdit() const { return static_cast<ScriptEdit*>(editor()); }
    QString problems() const {
        const auto* button = child<QToolButton>(qs("Problems"));
        return button->isVisible() ? button->property("fullText").toString() : QString();
    }
    void type(const char* text) {
        editor()->setFocus();
        QTest::keyClicks(editor(), qs(text));
    }
    QImage plan() const {
        return window->plan()->grab().toImage().copy(window->plan()->planRect().toRect());
    }
    // Clicks the plan where the officer is drawn: his marker, or his station.
    void clickOn(int officer) const {
        const Officer& o = window->simulator().room().officer(officer);
        const QPointF at((o.curX + kMarkerCentreDx) / 15, (o.curY + kMarkerCentreDy) / 15);
        QTest::mouseClick(window->plan(), Qt::LeftButton, {},
                          window->plan()->planTransform().map(at).toPoint());
    }
    QStringList partTexts() const {
        QStringList texts;
        const auto* list = child<QTreeWidget>(qs("OfficerPartList"));
        for (int i = 0; i < list->topLevelItemCount(); ++i) texts << list->topLevelItem(i)->text(2);
        return texts;
    }
};
using EditorWindowTest = MainWindowTest;
using FollowWindowTest = MainWindowTest;

TEST_F(MainWindowTest, StartsWithPlaceholderWhichResetKeepsAndHideCodeFlipsTheEditor) {
    EXPECT_EQ(picture(playButton()), '>');  // the My Simulations menu has its own tests
    trigger(qs("Do_Reset"));
    EXPECT_EQ(editorText(), qs(kPlaceholderText));
    auto* hide = child<QAction>(qs("Toggle_HideCode"));
    for (const bool hidden : {true, false}) {  // check mark and editor flip together
        hide->trigger();
        EXPECT_TRUE(editor()->isHidden() == hidden && hide->isChecked() == hidden);
        if (!hidden) continue;
        setEditorText("Mar,XZ,Now");  // a hidden editor still feeds Play
        playButton()->click();
        EXPECT_FALSE(allAtStations(sim().room()));
    }
}

TEST_F(MainWindowTest, SpeedControlsFocusAndMenusFollowTheirRows) {
    const auto text = [](const std::string& t) {
        const QString placeholder = qs(kPlaceholderText);
        return t == "P" ? placeholder : t == "P-1" ? placeholder.chopped(1) : qs(t.c_str());
    };
    FOR_EACH_CASE(c, "window_cases.txt", 4) {
        if (c[0] == "menu") {
            QStringList names;
            for (const QAction* item : child<QMenu>(qs(c[1].c_str()))->actions())
                names << item->objectName();
            const QString all = names.join(QLatin1Char(' '));
            EXPECT_TRUE(all.startsWith(qs(c[2].c_str())) && all.endsWith(qs(c[3].c_str())))
                << all.toStdString();
            continue;
        }
        if (c[0] == "focus") {
            editor()->setPlainText(text(c[2]));
            QFocusEvent focusIn(QEvent::FocusIn, c[1] == "Mouse"   ? Qt::MouseFocusReason
                                                 : c[1] == "Popup" ? Qt::PopupFocusReason
                                                                   : Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(editor(), &focusIn);
            EXPECT_EQ(editorText(), text(c[3]));
            continue;
        }
        EXPECT_TRUE(c[1].empty() ||
                    QMetaObject::invokeMethod(window->findChild<QObject*>(qs(c[1].c_str())),
                                              c[1][5] == 'B' ? "click" : "trigger"));
        std::string marks;
        for (int i = 0; i < 5; ++i) {
            const auto* button = child<QPushButton>(qs("SpeedB(%1)").arg(i));
            marks += std::to_string(button->palette().color(QPalette::Button) ==
                                    QColor(0x80, 0xFF, 0x80)) +
                     std::to_string(child<QAction>(qs("Speed(%1)").arg(i + 1))->isChecked()) + " ";
        }
        EXPECT_EQ(marks, c[2]);
        EXPECT_DOUBLE_EQ(sim().frameDelay, c.f(3));
    }
}

// Play's picture shows the pause bars while a run plays; Reset holds the run
// and everyone stays at his station. (Pause and resume: on the simulator.)
TEST_F(MainWindowTest, ResetDuringPlaybackKeepsScriptThenQuitEndsTheEventLoop) {
    bool runReturned = false, resetState = false, playingAtQuit = false;
    std::string pictures;
    // Started from the event loop, as a click would be; the rest happens in
    // the run's waits.
    QTimer::singleShot(0, window.get(), [&] {
        setEditorText(kLongRun);
        playButton()->click();  // returns only through Quit
        runReturned = true;
    });
    scripted.at(0.2, [&] {
        pictures += picture(playButton());
        trigger(qs("Do_Reset"));
        pictures += picture(playButton());
    });
    scripted.at(1.5, [&] {
        resetState = editorText() == qs(kLongRun) && allAtStations(sim().room()) && sim().paused &&
                     !sim().busy;
        trigger(qs("Do_Chap"));
        sim().playOrPause();  // playing again, nested
    });
    scripted.at(3.0, [&] {
        playingAtQuit = sim().busy;
        trigger(qs("Quit_Simulator"));
    });
    // A failure shows as a hang, which the suite's time-out catches.
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(runReturned && resetState && playingAtQuit);
    EXPECT_EQ(pictures, "=>");
    EXPECT_TRUE(sim().abandoned() && !window->isVisible());
    EXPECT_EQ(dialogs.referenceClosed, 1);
}

TEST_F(MainWindowTest, KioskModeChosenAgainStopsAfterTheCurrentSimulation) {
    sim().setSpeed(5);
    const char* first = nullptr;  // the kiosk cycle's first
    for (const CatalogueEntry& e : catalogue())
        if (qstrcmp(e.item, "Do_Officers_Enter") == 0) first = e.script;
    ASSERT_NE(first, nullptr);
    bool playingFirst = false;
    // Chooses it again once the first simulation of the cycle plays.
    scripted.eachPass = [&] {
        if (playingFirst || !sim().busy || editorText() != qs(first)) return;
        playingFirst = true;
        trigger(qs("Toggle_Kiosk"));
    };
    trigger(qs("Toggle_Kiosk"));  // returns when the loop ends
    EXPECT_TRUE(playingFirst && !window->inKioskMode());
    EXPECT_FALSE(child<QAction>(qs("Toggle_Kiosk"))->isChecked());
    EXPECT_EQ(editorText(), qs(first));
    // The first simulation was played to its end, not cut short.
    EXPECT_EQ(positions(sim().room()), positions(Composed(first).end()));
}

TEST_F(MainWindowTest, OpeningPutsTheFileInTheEditorAndTheTitleFollowsIt) {
    const QString path = writeFile("walk.vsim", "\xEF\xBB\xBFMar,XZ,\nNow \xCE\xA9");
    dialogs.files = {path};
    trigger(qs("OpenScript"));
    EXPECT_EQ(editorText(), qs("Mar,XZ,\nNow \u03A9"));
    EXPECT_EQ(window->windowTitle(), qs("walk.vsim[*] - Velistrad Simulator"));
    EXPECT_FALSE(window->isWindowModified());

    editor()->appendPlainText(qs("All,Delay,1"));
    EXPECT_TRUE(window->isWindowModified());
    dialogs.saveChoice = WindowDialogs::SaveChoice::Cancel;
    EXPECT_FALSE(window->close());  // Cancel keeps the window and the changes
    EXPECT_EQ(dialogs.questions.size(), 1u);
    trigger(qs("SaveScript"));
    EXPECT_EQ(fileBytes(path.toStdString()), "Mar,XZ,\nNow \xCE\xA9\nAll,Delay,1");
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(child<QAction>(qs("RecentScript(1)"))->text(), qs("&1 ") + path);

    // A file that cannot be read changes nothing.
    EXPECT_FALSE(window->openScriptFile(dir.filePath(qs("missing.vsim"))));
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(window->scriptFile(), path);
    EXPECT_EQ(editorText(), qs("Mar,XZ,\nNow \u03A9\nAll,Delay,1"));

    // A chosen simulation replaces the file's script: the file is closed, so
    // a later Save cannot write the simulation into it.
    trigger(qs("Do_Chap"));
    EXPECT_TRUE(window->scriptFile().isEmpty());
    EXPECT_EQ(window->windowTitle(), qs("Velistrad Simulator"));
}

// Saved items come after a restart; the Manage dialog reorders, renames,
// exports, deletes and imports them.
// A script of many lines goes into the editor a slice at a time; meanwhile
// the editor takes no typing and Save, Play and the check see the whole
// script, never the part shown so far.
TEST_F(MainWindowTest, AScriptOfManyLinesGoesInAsTheWindowAnswersAndSavesWhole) {
    std::string script;
    for (int i = 0; i < 3 * SlicedTextEdit::kSliceLines; ++i) script += "Mar, XZ, Soon,\n";
    const QString path = writeFile("long.vsim", script);
    ASSERT_TRUE(window->openScriptFile(path));
    auto* edit = static_cast<ScriptEdit*>(editor());
    ASSERT_TRUE(edit->filling());
    int changes = 0;
    QObject::connect(editor(), &QPlainTextEdit::textChanged, [&changes] { ++changes; });
    std::vector<int> progress;
    QObject::connect(edit, &SlicedTextEdit::fillProgress,
                     [&progress](int percent) { progress.push_back(percent); });
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_LT(editor()->document()->blockCount(), 3 * SlicedTextEdit::kSliceLines);
    EXPECT_EQ(edit->text().toStdString(), script);
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(
        qs("Putting the script into the editor: ")));

    // Saved while it goes in: the file keeps every line.
    ASSERT_TRUE(edit->filling());
    editor()->document()->setModified(true);
    trigger(qs("SaveScript"));
    EXPECT_EQ(fileBytes(path.toStdString()), script);

    QElapsedTimer waited;
    waited.start();
    while (edit->filling() && waited.elapsed() < 30'000) QCoreApplication::processEvents();
    EXPECT_EQ(editorText().toStdString(), script);
    EXPECT_FALSE(edit->isReadOnly());
    EXPECT_FALSE(editor()->document()->isUndoAvailable());  // as after any Open
    EXPECT_EQ(changes, 1);                                  // told once, with the whole text
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    ASSERT_GE(progress.size(), 3u);  // at the start, after each turn, at the end
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_LT(progress.front(), 100);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_FALSE(window->isWindowModified());

    // Another script chosen while one goes in replaces it whole.
    ASSERT_TRUE(window->openScriptFile(path));
    ASSERT_TRUE(edit->filling());
    trigger(qs("Do_SD_Altar"));
    EXPECT_FALSE(edit->filling());
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(editorText(), qs(catalogue()[2].script));
    EXPECT_FALSE(edit->isReadOnly());
}

TEST_F(MainWindowTest, SavingAndManagingChangeTheMySimulationsMenu) {
    EXPECT_EQ(items(), qs("(none)~"));
    saveSimulation("Walk & Turn", "MC,XZ,Now");
    EXPECT_EQ(items(), qs("Walk && Turn"));
    dialogs.answers = {true};
    saveSimulation("Walk & Turn", "Mar,XZ,\nNow");
    saveSimulation("Long", "---Mar,UZX,After");
    open();
    EXPECT_EQ(items(), qs("Walk && Turn|Long"));
    customItem(1)->trigger();
    EXPECT_EQ(editorText(), qs("Mar,XZ,Now"));  // line breaks do not survive
    customItem(2)->trigger();
    EXPECT_EQ(editorText(), qs("---Mar,UZX,After"));

    saveSimulation("C", "C");  // the name box offers the one loaded
    EXPECT_EQ(dialogs.inputs.back(),
              "Custom Simulation: Enter the name for this simulation [Long]");
    ManageSimulationsDialog manage(window->mySimulations(), window.get());
    auto* list = manage.findChild<QListWidget*>(qs("List"));
    auto press = [&](const char* button, int row) {
        list->setCurrentRow(row);
        manage.findChild<QPushButton*>(qs(button))->click();
    };
    press("MoveDown", 0);
    EXPECT_EQ(items(), qs("Long|Walk && Turn|C"));
    EXPECT_EQ(list->currentRow(), 1);  // the selection moves with it
    dialogs.names = {"Z"};
    press("Rename", 2);
    EXPECT_EQ(items(), qs("Long|Walk && Turn|Z"));
    EXPECT_EQ(dialogs.inputs.back(),
              "Custom Simulation: Enter the new name for this simulation [C]");
    const QString exported = dir.filePath(qs("z.vsim"));
    dialogs.files = {exported};
    press("Export", 2);
    EXPECT_EQ(fileBytes(exported.toStdString()), "C");
    dialogs.answers = {true, true, true};
    for (int i = 0; i < 3; ++i) press("Delete", 0);
    EXPECT_EQ(items(), qs("(none)~"));
    dialogs.files = {exported, writeFile("bad-name.vsim", "x"), writeFile("no-name.vsim", "y")};
    dialogs.names = {"bad name"};  // offered with a blank, then cancelled
    manage.findChild<QPushButton*>(qs("Import"))->click();
    EXPECT_EQ(items(), qs("z|bad name"));
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(window->customSimulations().at(0).script, "C");
    EXPECT_NE(dialogs.inputs.back().find("[no name]"), std::string::npos);
    // A script file opened is not the simulation loaded last: no name is offered.
    customItem(1)->trigger();
    ASSERT_TRUE(window->openScriptFile(writeFile("walk.vsim", "MC,XZ,Now")));
    saveSimulation("walk", "MC,XZ,Now");
    EXPECT_EQ(dialogs.inputs.back(), "Custom Simulation: Enter the name for this simulation");
}

constexpr const char* kScript = "MC,XZR,Now, SC,XZE,After";

TEST_F(MainWindowTest, DraggingOrKeysMoveThroughTheRunAndResetClears) {
    EXPECT_FALSE(slider()->isEnabled());
    const ChapterRoom uninterrupted = Composed(kScript).end();
    setEditorText(kScript);
    bool heldByDrag = false;
    scripted.at(0.5, [&] {
        // The run plays: a press on the slider holds it, a move shows frame 50.
        emit slider()->sliderPressed();
        heldByDrag = sim().paused && sim().busy;
        slider()->setValue(50);
        EXPECT_EQ(sim().playedFrames(), 50u);
        EXPECT_TRUE(readout().startsWith(qs("frame 50 / ")));
        EXPECT_EQ(marked(), qs("MC,XZR,Now"));
        playButton()->click();  // resume from frame 50
    });
    playButton()->click();
    EXPECT_TRUE(heldByDrag && !sim().busy);
    EXPECT_EQ(positions(sim().room()), positions(uninterrupted));
    EXPECT_EQ(slider()->value(), slider()->maximum());
    EXPECT_EQ(marked(), qs(" SC,XZE,After"));

    // Keys step where the plan has the focus.
    const std::size_t end = sim().played()->size();
    window->plan()->setFocus();
    QTest::keyClick(window->plan(), Qt::Key_Home);
    EXPECT_TRUE(sim().playedFrames() == 0 && allAtStations(sim().room()));
    QTest::keyClick(window->plan(), Qt::Key_Right);
    QTest::keyClick(window->plan(), Qt::Key_Right, Qt::ShiftModifier);  // MC's first frame
    EXPECT_EQ(marked(), qs("MC,XZR,Now"));
    QTest::keyClick(window->plan(), Qt::Key_Right, Qt::ShiftModifier);  // SC's
    const std::size_t scStarts = sim().playedFrames();
    EXPECT_EQ(marked(), qs(" SC,XZE,After"));
    QTest::keyClick(window->plan(), Qt::Key_Left);
    EXPECT_EQ(sim().playedFrames(), scStarts - 1);
    QTest::keyClick(window->plan(), Qt::Key_End);
    EXPECT_EQ(sim().playedFrames(), end);

    // In the editor the arrows move the text cursor, not the timeline.
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_Home);
    EXPECT_EQ(sim().playedFrames(), end);

    trigger(qs("Do_Reset"));
    EXPECT_TRUE(sim().played() == nullptr && !slider()->isEnabled() && readout().isEmpty());
}

// A message box's text: lines joined by CR LF, none bare, no line break at the end.
void expectMessageLines(const QString& text, qsizetype lines) {
    EXPECT_EQ(text.split(qs("\r\n")).size(), lines);
    EXPECT_EQ(text.count(QLatin1Char('\n')), lines - 1);
    EXPECT_EQ(text.count(QLatin1Char('\r')), lines - 1);
    EXPECT_FALSE(text.endsWith(QLatin1Char('\n')));
}

// Each Help item shows its text in a box of its title, with no icon; the
// Programming Reference stands beside the main window and is replaced after
// closing.
TEST_F(MainWindowTest, HelpShowsItsTextsAndTheReferenceBesideTheWindow) {
    struct Row {
        const char* item;
        const char* title;
        QString (*text)();
        qsizetype lines;
    };
    const Row rows[] = {{"Help_Howto", "How To Use", howToUseText, 3},
                        {"Help_Basics", "Velistrad Basics", basicsText, 13},
                        {"Help_About", "About", aboutText, 15}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.item);
        dialogs.messages.clear();
        dialogs.lastIcon = MessageIcon::Exclamation;
        trigger(qs(row.item));
        const QString text = row.text();
        expectMessageLines(text, row.lines);
        EXPECT_EQ(dialogs.messages,
                  std::vector<std::string>{std::string(row.title) + ": " + text.toStdString()});
        EXPECT_EQ(dialogs.lastIcon, MessageIcon::None);
    }

    // The real dialogs: this window is not modal.
    window.reset();
    window = std::make_unique<MainWindow>(MainWindowSetup{customPath()});
    window->resize(window->minimumSizeHint());  // room beside it on the 800-wide screen
    window->move(40, 30);
    window->show();
    auto find = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == qs("frmProg") && w->isVisible())
                return qobject_cast<ProgrammingReference*>(w);
        return static_cast<ProgrammingReference*>(nullptr);
    };
    auto beside = [&] { return window->frameGeometry().topRight() + QPoint(1, 0); };
    const QPoint first = beside();
    ProgrammingReference* previous = nullptr;
    for (int choice = 0; choice < 3; ++choice) {
        trigger(qs("Help_Programming"));
        ProgrammingReference* reference = find();
        ASSERT_NE(reference, nullptr);
        EXPECT_TRUE(choice != 1 || reference == previous) << "a second window";
        previous = reference;
        // Chosen again while open: the same window, where it was; after
        // closing: a new one beside the main window as it is now.
        EXPECT_EQ(reference->pos(), choice < 2 ? first : beside()) << choice;
        EXPECT_EQ(reference->windowTitle(), qs("Programming Reference"));
        EXPECT_TRUE(reference->Text1()->isReadOnly());
        // A text box: lines joined by LF alone.
        const QString shown = reference->Text1()->toPlainText();
        EXPECT_EQ(shown, referenceText());
        EXPECT_EQ(shown.split(QLatin1Char('\n')).size(), kReferenceLineCount);
        EXPECT_FALSE(shown.contains(QLatin1Char('\r')));
        window->move(200, 100);
        if (choice != 1) continue;
        reference->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // With no room beside the window, it opens as near as lies wholly on the screen.
    find()->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.right() - window->frameGeometry().width(), 30);
    trigger(qs("Help_Programming"));
    ASSERT_NE(find(), nullptr);
    EXPECT_TRUE(screen.contains(find()->frameGeometry()));
    EXPECT_EQ(find()->pos().y(), window->pos().y());
    window->close();  // Quit closes it too
    EXPECT_EQ(find(), nullptr);
}

TEST_F(MainWindowTest, EveryEntryLoadsItsScriptCompilesSilentlyAndPlaysToItsEnd) {
    const auto& entries = catalogue();
    ASSERT_EQ(entries.size(), 23u);
    sim().setSpeed(5);
    for (const CatalogueEntry& entry : entries) {
        SCOPED_TRACE(entry.item);
        setEditorText("MC,XZ,Now");
        playButton()->click();  // someone away from his station
        trigger(qs(entry.item));
        EXPECT_TRUE(allAtStations(sim().room()));
        EXPECT_EQ(editorText(),
                  qs((entry.sharesScriptOf ? entries[entry.sharesScriptOf - 1] : entry).script));

        playButton()->click();
        const Positions shown = positions(sim().room());
        EXPECT_EQ(shown, positions(Composed(entry.script).end()));
        // The last frame's drawing stays: one marker per officer away from his station.
        const Positions home = positions(ChapterRoom());
        EXPECT_EQ(window->plan()->markers().size(),
                  std::inner_product(shown.begin(), shown.end(), home.begin(), std::size_t{0},
                                     std::plus<>(), std::not_equal_to<>()));
    }
    trigger(qs("Do_SD_Altar2"));  // in Closing, with the script from Opening
    EXPECT_EQ(editorText(), qs(entries[2].script));
    EXPECT_STREQ(entries[2].item, "Do_SD_Altar");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(EditorWindowTest, ABadFieldIsUnderlinedListedAndClearedOnceFixed) {
    editor()->clear();
    type("Mar, XZ, Now, XX, XZ, Soon");
    window->checkScriptNow();  // the moment after the last keystroke
    using Ranges = std::vector<std::pair<int, int>>;
    EXPECT_EQ(scriptEdit()->problemRanges(FieldStyle::Error), (Ranges{{14, 16}}));
    EXPECT_EQ(scriptEdit()->problemRanges(FieldStyle::Warning), (Ranges{{21, 26}}));
    EXPECT_EQ(scriptEdit()->problemAt(15), qs("Unknown officer: XX"));
    EXPECT_EQ(problems(), qs("entry 2, \"XX, XZ, Soon\": Unknown officer: XX"));
    EXPECT_EQ(child<QLabel>(qs("EntryStatus"))->text(), qs("entry 2 of 2 · XX · XZ · Soon"));

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
    EXPECT_EQ(editorText(), qs("Mar, XZ, Now, XX, XZ, Soon"));
}

// A long script is checked on another thread and its marks coloured a slice
// at a time; colouring is no edit: it neither starts another check nor makes
// a finished run look outdated.
TEST_F(EditorWindowTest, ColouringTheMarksOfALongScriptIsNoEdit) {
    std::string script;
    for (int i = 0; i < 1500; ++i) script += "Mar, XZ, Soon,\n";  // 22 KB, a warning a line
    setEditorText(script.c_str());
    int edits = 0;
    QObject::connect(editor(), &QPlainTextEdit::textChanged, [&edits] { ++edits; });
    window->checkScriptNow();
    QElapsedTimer waited;  // for the other thread, slower under the sanitizers
    waited.start();
    while (scriptEdit()->problemRanges(FieldStyle::Warning).size() < 1500 &&
           waited.elapsed() < 30'000) {
        QThread::msleep(5);
        QCoreApplication::processEvents();
    }
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();  // the slices still to colour
    EXPECT_EQ(scriptEdit()->problemRanges(FieldStyle::Warning).size(), 1500u);
    EXPECT_EQ(edits, 0);
}

TEST_F(EditorWindowTest, PlayShowsTheBoxesThenSelectsTheFailingEntry) {
    setEditorText("MC, XZR, Now,\n Ch, XZW, After");
    playButton()->click();
    EXPECT_EQ(dialogs.messages,
              (std::vector<std::string>{"Velistrad Simulator: Unknown direction: W",
                                        "Error Details: Error occurred while processing: CH, "
                                        "XZW, AFTER"}));
    EXPECT_EQ(dialogs.lastIcon, MessageIcon::Exclamation);  // errors show as errors
    EXPECT_EQ(editor()->textCursor().selectedText(), qs("Ch, XZW, After"));
    EXPECT_EQ(scriptEdit()->problemRanges(FieldStyle::Error),
              (std::vector<std::pair<int, int>>{{21, 22}}));
}

// Each field in its style as it is laid out; every problem is listed and
// leads to its entry.
TEST_F(EditorWindowTest, FieldsAreColouredAndEachProblemLeadsToItsEntry) {
    setEditorText("MC,-AT-mc-,Now, SC,-AT-sc-,Now");
    const QTextLayout* line = editor()->document()->firstBlock().layout();
    auto at = [line](int i) {
        for (const QTextLayout::FormatRange& r : line->formats())
            if (i >= r.start && i < r.start + r.length) return r.format;
        return QTextCharFormat();
    };
    EXPECT_EQ(at(0).fontWeight(), QFont::DemiBold);  // the officer
    EXPECT_TRUE(at(11).fontItalic() && !at(3).fontItalic());
    EXPECT_NE(at(2).foreground(), at(3).foreground());  // the comma is quiet
    window->checkScriptNow();
    EXPECT_EQ(problems(), qs("entry 1, \"MC, -AT-mc-, Now\": Unknown location: MC (and 1 more)"));
    window->selectProblem(1);
    EXPECT_EQ(editor()->textCursor().selectedText(), qs("SC,-AT-sc-,Now"));
}

// A line too long to colour field by field in time shows plain with its
// problems still underlined, and the status bar shows the start of its texts.
TEST_F(EditorWindowTest, AHugeLineShowsPlainWithItsMarksAndTheStatusBarCutsItsTexts) {
    std::string script;
    for (int i = 0; i < 800; ++i) script += "Mar, XZ, Now, ";
    script += "XX, " + std::string(3000, 'A') + ", Now";
    setEditorText(script.c_str());
    window->checkScriptNow();
    editor()->moveCursor(QTextCursor::End);
    using Ranges = std::vector<std::pair<int, int>>;
    const Ranges errors = scriptEdit()->problemRanges(FieldStyle::Error);
    ASSERT_EQ(errors, (Ranges{{11200, 11202}}));
    bool underlined = false;
    for (const QTextLayout::FormatRange& r :
         editor()->document()->firstBlock().layout()->formats()) {
        EXPECT_EQ(r.format.underlineStyle(), QTextCharFormat::WaveUnderline);  // nothing else
        underlined |= r.start <= errors[0].first && r.start + r.length >= errors[0].second;
    }
    EXPECT_TRUE(underlined);

    const QString entry = child<QLabel>(qs("EntryStatus"))->text();
    EXPECT_TRUE(entry.startsWith(qs("entry 801 of 801 · XX · AAAA"))) << entry.toStdString();
    EXPECT_EQ(entry.size(), 301);
    EXPECT_TRUE(entry.endsWith(QChar(0x2026)));
    EXPECT_TRUE(problems().startsWith(qs("entry 801, \"XX, AAAA")));
    EXPECT_LT(problems().size(), 320);
}

// While the cursor rests in an entry the plan shows its route, but for while
// a run plays: held or ended, the run leaves it room again. Ctrl+P plays
// from the editor, Ctrl+R resets; the status bar names the speed.
TEST_F(EditorWindowTest, RoutePreviewGivesWayToAPlayingRunOnlyAndShortcutsWork) {
    setEditorText("Mar, XZTCEVU, Now, All, Delay, 1");
    const QImage bare = plan();
    QApplication::setActiveWindow(window.get());
    editor()->setFocus();
    editor()->moveCursor(QTextCursor::Start);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->plan()->previewing());
    EXPECT_NE(plan(), bare);
    editor()->moveCursor(QTextCursor::End);  // a pause walks nowhere
    EXPECT_EQ(plan(), bare);
    editor()->moveCursor(QTextCursor::Start);
    trigger(qs("Speed(5)"));
    EXPECT_EQ(child<QLabel>(qs("SpeedStatus"))->text(), qs("Speed: Lightning"));
    bool whilePlaying = true, whileHeld = false;
    scripted.at(0.5, [&] {  // in the delay
        whilePlaying = window->plan()->previewing();
        playButton()->click();
        whileHeld = window->plan()->previewing();
        playButton()->click();
    });
    QTest::keyClick(editor(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(sim().played() && !allAtStations(sim().room()));
    EXPECT_TRUE(!whilePlaying && whileHeld);
    EXPECT_TRUE(window->plan()->previewing());  // the same entry as before the run
    QTest::keyClick(editor(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(allAtStations(sim().room()));
}

TEST_F(EditorWindowTest, OfficersAndTimingWordsAreOfferedAfterAComma) {
    editor()->clear();
    type("Ma");
    QCompleter* completer = scriptEdit()->completer();
    ASSERT_TRUE(completer->popup()->isVisible());
    EXPECT_EQ(completer->currentCompletion(), qs("Mar"));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    type(", XZ, a");
    EXPECT_EQ(completer->currentCompletion(), qs("After"));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(editorText(), qs("Mar, XZ, After"));
    type(", XZ");  // a Direction is never completed
    EXPECT_FALSE(completer->popup()->isVisible());
    // Right after a comma, before a letter, and after the blank: offered,
    // nothing chosen, so Enter still breaks the line.
    type(", XZ,");  // the Time field
    ASSERT_TRUE(completer->popup()->isVisible());
    EXPECT_EQ(completer->completionCount(), 4);
    type(" ");
    ASSERT_TRUE(completer->popup()->isVisible());
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(editorText(), qs("Mar, XZ, After, XZ, XZ, \n"));
    EXPECT_FALSE(completer->popup()->isVisible());
    // Ctrl+Space offers what fits the field whatever was typed.
    QTest::keyClick(editor(), Qt::Key_Space, Qt::ControlModifier);
    ASSERT_TRUE(completer->popup()->isVisible());
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(editorText(), qs("Mar, XZ, After, XZ, XZ, \nNow"));
    editor()->clear();
    QTest::keyClick(editor(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(completer->completionCount(), kOfficerCount + 1);  // and All
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
    // Larger: the plan grows with the height and keeps its aspect; the
    // editor grows too, but the width neither can use stays round the plan.
    PlanView* plan = window->plan();
    const QRectF small = plan->planRect();
    window->resize(natural.width() * 3, natural.height() * 2);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const QRectF large = plan->planRect();
    EXPECT_GT(large.height(), 1.8 * small.height());
    EXPECT_NEAR(large.width() / large.height(), 482.0 / 696.0, 0.01);
    EXPECT_GT(editor()->width(), editor()->sizeHint().width());
    EXPECT_LT(editor()->width(), 600);
    // An editor the user widened keeps its width when the window grows taller.
    window->resize(natural);
    QCoreApplication::processEvents();
    auto* splitter = child<QSplitter>(qs("PlanSplitter"));
    splitter->setSizes({splitter->width() - 250, 250});
    emit splitter->splitterMoved(splitter->width() - 250, 1);
    window->resize(natural + QSize(0, 200));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_GE(splitter->sizes().value(1), 250);
}

constexpr const char* kFollowed =
    "SC, XZE, Now, Mar, XZTCEVU, After, CH, XZ, Now, Mar, UZX, Unsync";
constexpr int kMar = 0;
constexpr int kSC = 10;

TEST_F(FollowWindowTest, PartPanelLeadsToHisEntriesAndClickAndListChooseAlike) {
    setEditorText(kFollowed);
    playButton()->click();
    trigger(qs("Officer(0)"));
    EXPECT_TRUE(child<QDockWidget>(qs("OfficerPartDock"))->isVisible());
    EXPECT_EQ(partTexts(), (QStringList{qs("Mar, XZTCEVU, After"), qs("Mar, UZX, Unsync")}));
    auto* list = child<QTreeWidget>(qs("OfficerPartList"));
    for (const EntryFrames& e : sim().played()->entries()) {
        if (e.entry != 3) continue;
        emit list->itemClicked(list->topLevelItem(1), 0);
        EXPECT_EQ(sim().playedFrames(), e.first + 1);
        EXPECT_EQ(editor()->textCursor().selectedText(), qs("Mar, UZX, Unsync"));
    }
    // Times follow the speed.
    const QString medium = list->topLevelItem(1)->text(0);
    trigger(qs("Speed(1)"));
    EXPECT_NE(list->topLevelItem(1)->text(0), medium);

    sim().seekTo(60);  // SC on his way, Mar still at home
    trigger(qs("Officer_None"));
    const QImage untouched = plan();
    auto* chooser = child<QComboBox>(qs("OfficerChooser"));
    for (const int officer : {kSC, kMar}) {
        SCOPED_TRACE(officer);
        clickOn(officer);
        EXPECT_EQ(window->following().selected(), officer);
        EXPECT_EQ(chooser->currentIndex(), officer + 1);
        EXPECT_TRUE(child<QAction>(qs("Officer(%1)").arg(officer))->isChecked());
        const QImage clicked = plan();
        EXPECT_NE(clicked, untouched) << "his ring and route are drawn";
        const QStringList part = partTexts();

        trigger(qs("Officer_None"));
        EXPECT_EQ(plan(), untouched);
        EXPECT_TRUE(partTexts().isEmpty());
        emit chooser->activated(officer + 1);
        EXPECT_EQ(window->following().selected(), officer);
        EXPECT_EQ(plan(), clicked);
        EXPECT_EQ(partTexts(), part);
        trigger(qs("Officer_None"));
    }
    clickOn(1);  // CH, at home, has no route of his own yet but is chosen
    EXPECT_EQ(window->following().selected(), 1);

    // The exported view is the plan as the window shows it at its natural size.
    window->resize(1600, window->height());
    QCoreApplication::processEvents();
    trigger(qs("Officer_AllTrails"));
    dialogs.files = {dir.filePath(qs("view"))};
    trigger(qs("Export_Png"));
    EXPECT_EQ(QImage(dir.filePath(qs("view.png"))).convertToFormat(QImage::Format_RGB32),
              plan().convertToFormat(QImage::Format_RGB32));
}

// A frame repaints only the patches it changed: what the window then holds
// is what painting the whole plan anew draws, forwards and back, with and
// without every route.
TEST_F(FollowWindowTest, AFrameRepaintsAllItChangesWhileHeIsFollowed) {
    setEditorText(kFollowed);
    playButton()->click();
    trigger(qs("Officer(0)"));
    const std::size_t end = sim().played()->size();
    std::vector<std::size_t> frames(end + 1);
    std::iota(frames.begin(), frames.end(), std::size_t{0});
    frames.insert(frames.end(), {end / 3, end, 2});  // the timeline dragged back and on
    for (const bool all : {false, true}) {
        window->following().showAllTrails(all);
        QCoreApplication::processEvents();
        for (const std::size_t frame : frames) {
            sim().seekTo(frame);
            ASSERT_EQ(stalePlanPixels(), 0)
                << "frame " << frame << (all ? " with every route" : "");
        }
    }
}

}  // namespace
}  // namespace velistrad
