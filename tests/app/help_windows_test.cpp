// The Help menu: the three message texts and the Programming Reference window.
#include <QApplication>
#include <QPlainTextEdit>

#include "app/programming_reference.h"
#include "tests/app/window_fixture.h"
#include "tests/model/case_file.h"

namespace velistrad {
namespace {

// Checks a Help text, split at `joint`, against its rows in help_texts.txt.
void expectShape(const QString& shown, const std::string& item, const char* joint) {
    const QStringList lines = shown.split(qs(joint));  // a trailing line break adds a line
    int rows = 0;
    for (const Case& c : CASES("help_texts.txt", 3)) {
        if (c[0] != item || ++rows == 0) continue;
        SCOPED_TRACE(c.line);
        std::string which;
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            const bool has = c[1] == "tabbed"     ? line.contains(QLatin1Char('\t'))
                             : c[1] == "trailing" ? line.endsWith(QLatin1Char(' '))
                                                  : line.isEmpty();
            if (has) which += std::to_string(i + 1) + " ";
        }
        if (c[1] == "lines") {
            EXPECT_EQ(lines.size(), std::stoi(c[2]));
        } else if (c[1] == "tabbed" || c[1] == "trailing" || c[1] == "empty") {
            EXPECT_EQ(which, c[2]);
        } else {
            ASSERT_LE(std::stoi(c[1]), lines.size());
            EXPECT_EQ(lines[std::stoi(c[1]) - 1].toStdString(), c[2]);
        }
    }
    EXPECT_GT(rows, 0) << item;
}

using HelpTest = WindowTest;

TEST_F(HelpTest, MessageBoxesShowTheirExactTextsWithCrLfAndNoIcon) {
    const char* rows[][2] = {
        {"Help_Howto", "How To Use"}, {"Help_Basics", "Velistrad Basics"}, {"Help_About", "About"}};
    for (const auto& [item, title] : rows) {
        dialogs.messages.clear();
        trigger(qs(item));
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].title, qs(title));
        EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
        expectShape(dialogs.messages[0].text, item, "\r\n");
    }
}

TEST_F(HelpTest, ProgrammingReferenceStandsBesideTheMainWindowAndIsReplacedAfterClosing) {
    // The real dialogs: this window is not modal.
    window.reset();
    window = std::make_unique<MainWindow>(MainWindowSetup{customPath()});
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
        expectShape(reference->Text1()->toPlainText(), "Help_Programming", "\n");
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
