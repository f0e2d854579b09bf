// A main window with scripted dialogs and its own custom.sim in a temporary
// folder, plus the small helpers the widget tests share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/plan_view.h"
#include "tests/engine/composed.h"
#include "tests/engine/scripted_clock.h"
#include "tests/simulations/saving_fixture.h"

namespace velistrad {

inline QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// The dialogs of saving, file choosers answered from `files` (cancelled when
// empty), and the question before changes are lost from `saveChoice`.
class ScriptedDialogs : public FakeDialogs<WindowDialogs> {
public:
    int referenceClosed = 0;
    QStringList files;
    SaveChoice saveChoice = SaveChoice::Cancel;

    void showProgrammingReference(const QRect&) override {}
    void closeProgrammingReference() override { ++referenceClosed; }
    QStringList openFileNames(const QString&, const QString&, bool several) override {
        return several ? files : files.mid(0, 1);
    }
    QString saveFileName(const QString&, const QString&, const QString&) override {
        return files.value(0);
    }
    SaveChoice saveChanges(const QString& text, const QString& title) override {
        questions.push_back((title + qs(": ") + text).toStdString());
        return saveChoice;
    }
};

// The scripted clock, handling the window's pending events in each wait.
struct WindowClock : ScriptedClock {
    void processEvents(double deadline) override {
        QCoreApplication::processEvents();
        ScriptedClock::processEvents(deadline);
    }
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        open();
    }

    // (Re)starts the program on the same custom.sim.
    void open() {
        window.reset();
        window = std::make_unique<MainWindow>(
            MainWindowSetup{customPath(), &dialogs, &scripted, &scripted});
        window->show();
    }

    QString customPath() const { return dir.filePath(qs("custom.sim")); }

    template <class T>
    T* child(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void trigger(const QString& name) const { child<QAction>(name)->trigger(); }
    QPushButton* playButton() const { return child<QPushButton>(qs("Simulate")); }
    QPlainTextEdit* editor() const { return child<QPlainTextEdit>(qs("Directions")); }
    QString editorText() const { return editor()->toPlainText(); }
    void setEditorText(const char* text) const { editor()->setPlainText(qs(text)); }
    // Saves `script` under `name` through the menu, as the user does.
    void saveSimulation(const char* name, const char* script) {
        setEditorText(script);
        dialogs.names.push_back(name);
        trigger(qs("SaveSimulation"));
    }
    QAction* customItem(int i) const { return child<QAction>(qs("CustomSim(%1)").arg(i)); }
    // The pixels of the plan that the window holds now (not painted anew, as
    // grab() would) and that differ from a whole repaint by more than the few
    // levels by which antialiased edges differ when clipped to patches: a
    // pixel left from another frame is far further off.
    int stalePlanPixels() const {
        PlanView* plan = window->plan();
        const QRect r = plan->planRect().toRect().translated(plan->mapTo(window.get(), QPoint()));
        const QImage held = window->screen()
                                ->grabWindow(window->winId(), r.x(), r.y(), r.width(), r.height())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
        const QImage whole = plan->grab()
                                 .toImage()
                                 .copy(plan->planRect().toRect())
                                 .convertToFormat(QImage::Format_RGB32);
        if (held.size() != whole.size()) return r.width() * r.height();
        int stale = 0;
        for (int y = 0; y < held.height(); ++y)
            for (int x = 0; x < held.width(); ++x) {
                const QRgb p = held.pixel(x, y), q = whole.pixel(x, y);
                stale += std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                   std::abs(qBlue(p) - qBlue(q))}) > 24;
            }
        return stale;
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    WindowClock scripted;
    std::unique_ptr<MainWindow> window;
};

}  // namespace velistrad
