// The Help menu: the three message texts and the Programming Reference window.
#include <algorithm>
#include <utility>
#include <vector>

#include <QApplication>
#include <QPlainTextEdit>

#include "app/programming_reference.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

// For the longer texts, what a slip in editing them would break: the line
// count, the tabs, the trailing spaces and a few lines read in full.
struct TextShape {
    int lines;
    std::vector<int> tabbed;         // 1-based lines that hold a tab
    std::vector<int> trailingBlank;  // 1-based lines that end with a blank
    std::vector<std::pair<int, const char*>> exact;
};

const TextShape kHowToUseShape{
    3,
    {},
    {},
    {{1, "1. Choose the velistrad you want to see from the Simulations menu."},
     {2, "2. Click the Play button at the bottom of the screen."},
     {3, "3. You can pause the simulation, and change the speed, at any time."}}};

const TextShape kBasicsShape{
    13,
    {3, 4},
    {6, 10, 11, 12},
    {{2,
      "to walk side by side.  All Officers' movements about the Chapter room are directed by "
      "the letters on the diagram."},
     {13, "North to their stations would be noted: Ch. and Mar. move J K V Z X."}}};

const TextShape kReferenceShape{
    53,
    {11, 13, 14, 15, 17, 18, 25, 26, 28, 29, 33, 38, 39, 40, 41, 44, 48, 52, 53},
    {5, 8, 13, 17, 25, 28, 32, 52},
    {{1, "Each simulation is in this form:"},
     {8, "Direction: A list of steps the officer takes.  For instance, JKVZX.  "},
     {9, "   There are special steps as well:"},
     {44, "\tAll, Delay, 0.5\tTo delay a half-second"},
     {53, "\tSC/JC/Ch arrive together after MC is at R."}}};

void expectShape(const QString& shown, const TextShape& shape, const char* joint) {
    const QStringList lines = shown.split(qs(joint));  // a trailing line break adds a line
    ASSERT_EQ(lines.size(), shape.lines);
    for (int i = 1; i <= shape.lines; ++i) {
        const QString& line = lines[i - 1];
        EXPECT_EQ(line.contains(QLatin1Char('\t')),
                  std::count(shape.tabbed.begin(), shape.tabbed.end(), i) > 0)
            << "line " << i;
        EXPECT_EQ(line.endsWith(QLatin1Char(' ')),
                  std::count(shape.trailingBlank.begin(), shape.trailingBlank.end(), i) > 0)
            << "line " << i;
    }
    for (const auto& [line, text] : shape.exact) EXPECT_EQ(lines[line - 1], qs(text));
}

using HelpTest = WindowTest;

TEST_F(HelpTest, MessageBoxesShowTheirExactTextsWithCrLfAndNoIcon) {
    const struct {
        const char* item;
        const char* title;
        const TextShape* shape;  // none: the About box, partly our own
    } rows[] = {{"Help_Howto", "How To Use", &kHowToUseShape},
                {"Help_Basics", "Velistrad Basics", &kBasicsShape},
                {"Help_About", "About", nullptr}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.item);
        dialogs.messages.clear();
        trigger(qs(row.item));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        const auto& shown = dialogs.messages[0];
        EXPECT_EQ(shown.title, qs(row.title));
        EXPECT_EQ(shown.icon, MessageIcon::None);
        if (row.shape) {
            expectShape(shown.text, *row.shape, "\r\n");
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
        expectShape(reference->Text1()->toPlainText(), kReferenceShape, "\n");
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
