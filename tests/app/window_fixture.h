// A main window with scripted dialogs and its own custom.sim in a temporary
// folder, plus the small helpers the widget tests share.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/dialogs.h"
#include "app/main_window.h"
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

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    WindowClock scripted;
    std::unique_ptr<MainWindow> window;
};

}  // namespace velistrad
