// The Help menu: the three message texts and the Programming Reference window.
#include <QApplication>
#include <QPlainTextEdit>

#include "app/help_texts.h"
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

template <std::size_t N>
void expectLines(const QString& shown, const char* const (&expected)[N], const QString& joint,
                 const char* what) {
    EXPECT_FALSE(shown.endsWith(QLatin1Char('\n'))) << what;
    const QStringList lines = shown.split(joint);
    ASSERT_EQ(lines.size(), qsizetype(N)) << what;
    for (std::size_t i = 0; i < N; ++i)
        EXPECT_EQ(lines[qsizetype(i)], QString::fromUtf8(expected[i])) << what << " line " << i + 1;
}

TEST(HelpTexts, EveryLineReadsExactly) {
    const QString crlf = QStringLiteral("\r\n");
    expectLines(howToUseText(), kHowToUse, crlf, "How To Use");
    expectLines(basicsText(), kBasics, crlf, "Velistrad Basics");
    expectLines(referenceText(), kReference, QStringLiteral("\n"), "Programming Reference");
    // Our own lines aside, the About box has its fixed lines and blank lines in place.
    const QStringList about = aboutText().split(crlf);
    ASSERT_EQ(about.size(), 15);
    EXPECT_EQ(about[2], QStringLiteral("For comments and questions, contact:"));
    EXPECT_EQ(about[5], QStringLiteral("Version 1.3"));
    for (const int blank : {1, 4, 7, 10}) EXPECT_TRUE(about[blank].isEmpty()) << blank + 1;
    for (const int own : {0, 3, 6, 8, 9, 11, 12, 13, 14})
        EXPECT_FALSE(about[own].isEmpty()) << own + 1;
}

using HelpTest = WindowTest;

TEST_F(HelpTest, MessageBoxesShowTheirTextsWithCrLfAndNoIcon) {
    struct Row {
        const char* item;
        const char* title;
        int lines;
        int checkedLine;
        const char* expected;
    };
    const Row rows[] = {
        {"Help_About", "About", 15, 5, "Version 1.3"},
        {"Help_Howto", "How To Use", 3, 1, "2. Click the Play button at the bottom of the screen."},
        {"Help_Basics", "Velistrad Basics", 13, 2,
         "\tX is the station of the Officer(s) being directed."},
    };
    for (const Row& row : rows) {
        dialogs.messages.clear();
        trigger(QString::fromUtf8(row.item));
        ASSERT_EQ(dialogs.messages.size(), 1u) << row.item;
        const auto& shown = dialogs.messages[0];
        EXPECT_EQ(shown.title, QString::fromUtf8(row.title));
        EXPECT_EQ(shown.icon, MessageIcon::None);
        const QStringList lines = shown.text.split(QStringLiteral("\r\n"));
        EXPECT_EQ(lines.size(), row.lines) << row.item;
        EXPECT_FALSE(shown.text.endsWith(QLatin1Char('\n')));
        EXPECT_EQ(lines.value(row.checkedLine), QString::fromUtf8(row.expected)) << row.item;
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
    trigger(QStringLiteral("Help_Programming"));
    ProgrammingReference* reference = find();
    ASSERT_NE(reference, nullptr);
    const QRect main = window->frameGeometry();
    EXPECT_EQ(reference->pos(), QPoint(main.x() + main.width(), main.y()));
    EXPECT_EQ(reference->windowTitle(), QStringLiteral("Programming Reference"));
    EXPECT_EQ(reference->size(), QSize(312, 759));

    const QStringList lines = reference->Text1()->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 53);
    EXPECT_TRUE(lines[7].endsWith(QStringLiteral("JKVZX.  ")));
    EXPECT_TRUE(lines[8].startsWith(QStringLiteral("   There")));
    EXPECT_EQ(lines[43], QStringLiteral("\tAll, Delay, 0.5\tTo delay a half-second"));
    EXPECT_TRUE(reference->Text1()->isReadOnly());

    // Chosen again: the same window, even if the main window moved meanwhile.
    window->move(200, 100);
    trigger(QStringLiteral("Help_Programming"));
    EXPECT_EQ(find(), reference);
    EXPECT_EQ(reference->pos(), QPoint(main.x() + main.width(), main.y()));

    reference->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    trigger(QStringLiteral("Help_Programming"));
    ProgrammingReference* again = find();
    ASSERT_NE(again, nullptr);
    const QRect moved = window->frameGeometry();
    EXPECT_EQ(again->pos(), QPoint(moved.x() + moved.width(), moved.y()));

    window->close();  // Quit closes it too
    EXPECT_EQ(find(), nullptr);
}

}  // namespace
}  // namespace velistrad
