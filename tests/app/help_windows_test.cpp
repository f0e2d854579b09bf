// The Help menu: the three message texts and the Programming Reference window.
#include <QApplication>
#include <QPlainTextEdit>

#include "app/help_texts.h"
#include "app/programming_reference.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

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
    EXPECT_EQ(aboutText().split(QStringLiteral("\r\n")).value(2),
              QStringLiteral("For comments and questions, contact:"));
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
