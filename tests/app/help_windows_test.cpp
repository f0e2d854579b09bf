// The Help menu: the three message texts and the Programming Reference window.
#include <span>

#include <QApplication>
#include <QPlainTextEdit>

#include "app/programming_reference.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

// The wording of every line as it must read, tabs and trailing spaces
// included.
const char* const kHowToUse[] = {
    "1. Choose the velistrad you want to see from the Simulations menu.",
    "2. Click the Play button at the bottom of the screen.",
    "3. You can pause the simulation, and change the speed, at any time.",
};

const char* const kBasics[] = {
    "The shaded area on this diagram represents a walking band which is always wide enough for two "
    "Officers",
    "to walk side by side.  All Officers' movements about the Chapter room are directed by the "
    "letters on the diagram.",
    "\tX is the station of the Officer(s) being directed.",
    "\tZ is the point on the walking band nearest the station of the Officer(s) being directed.",
    "",
    "An Officer directed to move X Z moves directly forward from his station to the walking band, "
    "except the Councilors, ",
    "Scribe and Treasurer will move by the most direct route to the walking band, but around the "
    "pedestals or desks",
    "in their paths. An Officer directed to move Z X returns to his station by retracing his X Z "
    "route.",
    "",
    "Floor Movement Examples: ",
    "Movements of the Chaplain and Marshal from their stations by way of the South to the West "
    "side of the Altar ",
    "would be noted thus: Ch. and Mar. move X Z I J. Their return from the West side of the Altar "
    "by way of the ",
    "North to their stations would be noted: Ch. and Mar. move J K V Z X.",
};

const char* const kReference[] = {
    "Each simulation is in this form:",
    "   Officer1, Direction1, Time1, Officer2, Direction2, Time2,...",
    "   All spaces are ignored.",
    "",
    "Officer: 2- or 3-letter abbreviation of the officer ",
    "   (MC, SC, JC, Ch, Sen, Scr,...)",
    "",
    "Direction: A list of steps the officer takes.  For instance, JKVZX.  ",
    "   There are special steps as well:",
    "   -AT-X-",
    "\tPositions the officer at the given point.",
    "   -AT_S-U-, AT_NW-U-, etc",
    "\tPositions the officer(s) next to the given point.  ",
    "\tS, NW, etc specifies where the officer goes.",
    "\tExample: -AT_S-U- puts the officer south of point U.",
    "   -AT_E-MC-",
    "\tPositions the officer(s) next to the given officer: ",
    "\tIn this example, to the east of MC.",
    "",
    "For the above 3 steps, the 'Officer' field may be 'ALL' to position",
    "all officers, or a list of officers separated by a + sign.",
    "   For instance: MC+SC+JC, -AT-X-, Now",
    "",
    "   -W-MC-, -NE-U-, etc.",
    "\tMoves the officer next to a point on the floor, ",
    "\tor next to another officer.",
    "   -DIAG-U-, -DIAG_NW-J, -DIAG_SE-MC-, etc.",
    "\tMoves the officer, diagonally, to a point on the floor, ",
    "\tnext to a point, or next to an officer.",
    "",
    "For the special DIAG_ and AT_ keywords, you can specify a",
    "distance away from the officer or point on the floor.  Use ",
    "\t-DIAG_S-MC+E+100-",
    "to specify that the officer should go South of the MC,",
    "plus 100 'twips' East of the MC.",
    "",
    "Time: When the officer moves.",
    "   Now\tImmediately",
    "   Simult\tArrive the same time as the previous officer",
    "   Unsync\tStart moving now, disregarding the other officers",
    "   After\tStart moving after the previous officer arrives",
    "",
    "To add delays in the simulation, use this special simulation syntax:",
    "\tAll, Delay, 0.5\tTo delay a half-second",
    "",
    "Examples:",
    "   Mar, XZTCEVU, Now, All, Delay, 1.0, Mar, UZX, Now",
    "\tMarshal sees if all present are members or visitors.",
    "",
    "   MC, XZR, Now, Ch, XZ-E-MC-, After, SC, XZE-N-Ch-,Simult,",
    "   JC, XZ-S-Ch-, Simult",
    "\tMC, SC, JC, Ch going into the shield formation.  ",
    "\tSC/JC/Ch arrive together after MC is at R.",
};

void expectLines(const QString& shown, std::span<const char* const> expected, const char* joint) {
    const QStringList lines = shown.split(qs(joint));  // a trailing line break adds a line
    ASSERT_EQ(lines.size(), qsizetype(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[qsizetype(i)], qs(expected[i])) << "line " << i + 1;
}

using HelpTest = WindowTest;

TEST_F(HelpTest, MessageBoxesShowTheirExactTextsWithCrLfAndNoIcon) {
    const struct {
        const char* item;
        const char* title;
        std::span<const char* const> lines;  // empty: the About box, partly our own
    } rows[] = {{"Help_Howto", "How To Use", kHowToUse},
                {"Help_Basics", "Velistrad Basics", kBasics},
                {"Help_About", "About", {}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        dialogs.messages.clear();
        trigger(qs(row.item));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        const auto& shown = dialogs.messages[0];
        EXPECT_EQ(shown.title, qs(row.title));
        EXPECT_EQ(shown.icon, MessageIcon::None);
        if (!row.lines.empty()) {
            expectLines(shown.text, row.lines, "\r\n");
            continue;
        }
        // Our own lines aside, the About box has its fixed lines and blank lines in place.
        const QStringList about = shown.text.split(QStringLiteral("\r\n"));
        ASSERT_EQ(about.size(), 15);
        EXPECT_EQ(about[2], QStringLiteral("For comments and questions, contact:"));
        EXPECT_EQ(about[5], QStringLiteral("Version 1.3"));
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(about[i].isEmpty(), i == 1 || i == 4 || i == 7 || i == 10) << i + 1;
    }
}

TEST_F(HelpTest, ProgrammingReferenceStandsBesideTheMainWindowAndIsReplacedAfterClosing) {
    // The real dialogs: this window is not modal.
    window.reset();
    MainWindowSetup setup;
    setup.customFile = customPath();
    window = std::make_unique<MainWindow>(setup);
    window->move(40, 30);
    window->show();
    auto find = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("frmProg") && w->isVisible())
                return qobject_cast<ProgrammingReference*>(w);
        return static_cast<ProgrammingReference*>(nullptr);
    };
    auto beside = [&] {
        const QRect main = window->frameGeometry();
        return QPoint(main.x() + main.width(), main.y());
    };
    const QPoint first = beside();
    ProgrammingReference* previous = nullptr;
    for (int choice = 0; choice < 3; ++choice) {
        trigger(QStringLiteral("Help_Programming"));
        ProgrammingReference* reference = find();
        ASSERT_NE(reference, nullptr);
        EXPECT_TRUE(choice != 1 || reference == previous) << "a second window";
        previous = reference;
        // Chosen again while open: the same window, where it was; after
        // closing: a new one beside the main window as it is now.
        EXPECT_EQ(reference->pos(), choice < 2 ? first : beside()) << choice;
        EXPECT_EQ(reference->windowTitle(), QStringLiteral("Programming Reference"));
        EXPECT_TRUE(reference->Text1()->isReadOnly());
        expectLines(reference->Text1()->toPlainText(), kReference, "\n");
        window->move(200, 100);
        if (choice != 1) continue;
        reference->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    window->close();  // Quit closes it too
    EXPECT_EQ(find(), nullptr);
}

}  // namespace
}  // namespace velistrad
