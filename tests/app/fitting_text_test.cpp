// Every window and dialog on a small screen (1280 by 720) and at scale 2
// (2560 by 1440, and 1920 by 1080), with the program's real dialogs: no
// label, button, title or status text is cut, every menu fits the screen in
// one column, and every window lies on the screen with the program's icon.
// CTest runs this once for each screen.
#include <functional>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>

#include "app/dialog_titles.h"
#include "app/main_window.h"
#include "simulations/catalogue.h"
#include "tests/app/window_fixture.h"

namespace velistrad {
namespace {

// What in `window` does not fit, one line per text.
QStringList cutTexts(const QWidget& window) {
    QStringList cut;
    const auto check = [&cut](const QWidget& w, const QString& text, int room) {
        if (!w.isVisible() || text.isEmpty()) return;
        const int needed = w.fontMetrics().horizontalAdvance(text);
        if (needed > room)
            cut << QStringLiteral("%1 \"%2\": %3 > %4")
                       .arg(w.objectName(), text)
                       .arg(needed)
                       .arg(room);
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->wordWrap() || !label->pixmap().isNull()) continue;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            check(*label, line, label->contentsRect().width());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        check(*button, QString(button->text()).remove(QLatin1Char('&')),
              button->width() - icon - 4);
    }
    if (window.isWindow() && window.width() < titleBarWidth(window, window.windowTitle()))
        cut << QStringLiteral("title \"%1\" in %2").arg(window.windowTitle()).arg(window.width());
    return cut;
}

class FittingTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        window = std::make_unique<MainWindow>(MainWindowSetup{dir.filePath(qs("custom.sim"))});
        window->fitToScreen(screen());
        window->show();
        QCoreApplication::processEvents();
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // Chooses `item` and checks each modal box it opens, then closes it;
    // returns how many it opened.
    int checkDialogs(const char* item, const std::function<void()>& choose = {}) {
        SCOPED_TRACE(item);
        int seen = 0;
        QTimer closer;
        closer.setInterval(10);
        QObject::connect(&closer, &QTimer::timeout, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr || !box->isVisible()) return;
            ++seen;
            checkWindow(*box);
            box->close();
        });
        closer.start();
        if (choose)
            choose();
        else
            window->findChild<QAction*>(qs(item))->trigger();
        return seen;
    }
    void checkWindow(const QWidget& w) {
        SCOPED_TRACE(w.windowTitle().toStdString());
        EXPECT_EQ(cutTexts(w).join(qs("; ")).toStdString(), "");
        EXPECT_FALSE(w.windowIcon().isNull());
        EXPECT_TRUE(screen().contains(w.frameGeometry()))
            << w.frameGeometry().x() << "," << w.frameGeometry().y();
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
};

TEST_F(FittingTextTest, MainWindowItsMenusAndTheReferenceFit) {
    // The built-in script with the longest entry, that entry in the status bar.
    for (std::size_t i = 0; i < kCatalogueSize; ++i)
        if (qstrcmp(catalogue()[i].item, "Do_Officers_Enter") == 0) window->loadCatalogueEntry(i);
    QCoreApplication::processEvents();
    checkWindow(*window);
    for (const QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
        SCOPED_TRACE(menu->title().toStdString());
        // One column: every item starts at the same left edge (Qt lays a
        // menu out in columns where the screen is too low for it).
        QMenu* shown = const_cast<QMenu*>(menu);
        int left = -1;
        for (QAction* action : shown->actions()) {
            if (!action->isVisible()) continue;
            const QRect at = shown->actionGeometry(action);
            if (left < 0) left = at.left();
            EXPECT_EQ(at.left(), left) << action->text().toStdString();
        }
    }
    // The Officer's Part panel open makes the window wider; the reference
    // beside it still opens on the screen.
    window->findChild<QAction*>(qs("Officer_PartPanel"))->trigger();
    QCoreApplication::processEvents();
    checkWindow(*window);
    window->showProgrammingReference();
    QCoreApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == qs("frmProg")) checkWindow(*w);
}

TEST_F(FittingTextTest, EveryDialogFits) {
    for (const char* item :
         {"Help_About", "Help_Howto", "Help_Basics", "Help_Location", "SaveSimulation",
          "ManageSimulations", "Practice_Start", "Export_Gif", "Export_PartSheet"})
        EXPECT_EQ(checkDialogs(item), 1) << item;
    // A script that fails: its message, then the error details.
    window->findChild<QPlainTextEdit*>(qs("Directions"))->setPlainText(qs("MC, XZW, Now"));
    EXPECT_EQ(checkDialogs("Play", [this] { window->simulator().playOrPause(); }), 2);
}

}  // namespace
}  // namespace velistrad
