// A main window with scripted dialogs and its own custom.sim in a temporary
// folder, plus the small helpers the widget tests share.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

#include <QAction>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "engine/playback.h"

namespace velistrad {

// Answers questions and input boxes from queues and records every box.
class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        QString text;
        QString title;
        MessageIcon icon;
    };
    std::vector<Shown> messages;
    std::vector<Shown> questions;
    std::vector<Shown> inputs;
    std::deque<bool> answers;   // Yes = true
    std::deque<QString> names;  // input box answers
    int referenceShown = 0;
    int referenceClosed = 0;

    void message(const QString& text, const QString& title, MessageIcon icon) override {
        messages.push_back({text, title, icon});
    }
    bool question(const QString& text, const QString& title) override {
        questions.push_back({text, title, MessageIcon::None});
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString input(const QString& prompt, const QString& title) override {
        inputs.push_back({prompt, title, MessageIcon::None});
        if (names.empty()) return QString();
        const QString name = names.front();
        names.pop_front();
        return name;
    }
    void showProgrammingReference(const QRect&) override { ++referenceShown; }
    void closeProgrammingReference() override { ++referenceClosed; }
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
        MainWindowSetup setup;
        setup.customFile = customPath();
        setup.dialogs = &dialogs;
        setup.clock = clock;
        setup.pump = pump;
        window = std::make_unique<MainWindow>(setup);
        window->show();
    }

    QString customPath() const { return dir.filePath(QStringLiteral("custom.sim")); }

    template <class T>
    T* child(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void trigger(const QString& name) const { child<QAction>(name)->trigger(); }
    QTextEdit* editor() const { return child<QTextEdit>(QStringLiteral("Directions")); }
    QString editorText() const { return editor()->toPlainText(); }
    void setEditorText(const char* text) const { editor()->setPlainText(QString::fromUtf8(text)); }

    // Runs `work` from the event loop `ms` milliseconds from now.
    template <class F>
    void after(int ms, F work) {
        QTimer::singleShot(ms, window.get(), work);
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    Clock* clock = nullptr;
    EventPump* pump = nullptr;
    std::unique_ptr<MainWindow> window;
};

// Where the officers stand after `script` has played to its end; messages
// of the compiler are collected into `messages` when given.
class RecordingReporter : public Reporter {
public:
    std::vector<std::string> texts;
    void message(const std::string& text) override { texts.push_back(text); }
};
inline ChapterRoom playedThrough(const char* script, std::vector<std::string>* messages = nullptr) {
    ChapterRoom room;
    RecordingReporter reporter;
    MovementCompiler compiler(room, reporter);
    const auto played = composeScript(compiler, splitScript(script),
                                      [&](const std::string& t) { reporter.message(t); });
    if (played) applyComposition(room, *played);
    if (messages) *messages = reporter.texts;
    return room;
}

// The pause picture has a bar where the play triangle has none.
inline bool showsPausePicture(const QPushButton* button) {
    const QImage image = button->icon().pixmap(16, 16).toImage();
    return !image.isNull() && image.pixelColor(10, 4).alpha() > 128;
}
inline bool showsPlayPicture(const QPushButton* button) {
    const QImage image = button->icon().pixmap(16, 16).toImage();
    return !image.isNull() && image.pixelColor(6, 8).alpha() > 128 &&
           image.pixelColor(10, 4).alpha() < 128;
}

}  // namespace velistrad
