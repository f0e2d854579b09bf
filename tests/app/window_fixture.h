// A main window with scripted dialogs and its own custom.sim in a temporary
// folder, plus the small helpers the widget tests share.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "engine/played_timeline.h"
#include "engine/script_runner.h"

namespace velistrad {

inline QString qs(const char* text) {
    return QString::fromUtf8(text);
}

// Answers questions (No when none is queued) and input boxes (empty when
// none is queued) from queues, file choosers from `files` (cancelled when
// empty) and the question before changes are lost from `saveChoice`, and
// records every box.
class ScriptedDialogs : public WindowDialogs {
public:
    struct Shown {
        QString text;
        QString title;
        MessageIcon icon = MessageIcon::None;
    };
    std::vector<Shown> messages, questions, inputs;
    std::deque<bool> answers;
    std::deque<QString> names;
    int referenceClosed = 0;
    QStringList files;
    SaveChoice saveChoice = SaveChoice::Cancel;

    using WindowDialogs::message;
    void message(const std::string& text, const std::string& title, MessageIcon icon) override {
        messages.push_back({QString::fromStdString(text), QString::fromStdString(title), icon});
    }
    bool question(const std::string& text, const std::string& title) override {
        questions.push_back({QString::fromStdString(text), QString::fromStdString(title)});
        const bool yes = !answers.empty() && answers.front();
        if (!answers.empty()) answers.pop_front();
        return yes;
    }
    std::optional<std::string> input(const std::string& prompt, const std::string& title) override {
        inputs.push_back({QString::fromStdString(prompt), QString::fromStdString(title)});
        const QString name = names.empty() ? QString() : names.front();
        if (!names.empty()) names.pop_front();
        return name.toStdString();
    }
    void showProgrammingReference(const QRect&) override {}
    void closeProgrammingReference() override { ++referenceClosed; }
    QStringList openFileNames(const QString&, const QString&, bool several) override {
        return several ? files : files.mid(0, 1);
    }
    QString saveFileName(const QString&, const QString&, const QString&) override {
        return files.value(0);
    }
    SaveChoice saveChanges(const QString& text, const QString& title) override {
        questions.push_back({text, title});
        return saveChoice;
    }
};

// The program's clock and event pump in these tests: each wait handles the
// window's pending events, then jumps the clock to its deadline or to the
// next scripted event, whichever comes first, and runs the events due. Runs
// take no real time, and what a test does happens at exact moments of a run.
class ScriptedClock : public Clock, public EventPump {
public:
    double now() override { return m_now; }
    void processEvents(double deadline) override {
        QCoreApplication::processEvents();
        ++passes;
        if (eachPass) eachPass();
        double next = deadline;
        if (!m_events.empty()) next = std::min(next, m_events.begin()->first);
        if (std::isfinite(next) && next > m_now) m_now = next;
        while (!m_events.empty() && m_events.begin()->first <= m_now) {
            const std::function<void()> work = std::move(m_events.begin()->second);
            m_events.erase(m_events.begin());
            work();  // may re-enter this pump through a nested run
        }
    }
    // Runs work once the clock reads `time` seconds, inside a wait of a run.
    void at(double time, std::function<void()> work) { m_events.emplace(time, std::move(work)); }
    std::function<void()> eachPass;  // called in every wait
    long passes = 0;

private:
    double m_now = 0;
    std::multimap<double, std::function<void()>> m_events;
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
        window = std::make_unique<MainWindow>(MainWindowSetup{customPath(), &dialogs, clock, pump});
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
    QPushButton* playButton() const { return child<QPushButton>(QStringLiteral("Simulate")); }
    QPlainTextEdit* editor() const { return child<QPlainTextEdit>(QStringLiteral("Directions")); }
    QString editorText() const { return editor()->toPlainText(); }
    void setEditorText(const char* text) const { editor()->setPlainText(qs(text)); }
    // Saves `script` under `name` through the menu, as the user does.
    void saveSimulation(const char* name, const char* script) {
        setEditorText(script);
        dialogs.names.push_back(qs(name));
        trigger(QStringLiteral("SaveSimulation"));
    }
    QAction* customItem(int i) const {
        return child<QAction>(QStringLiteral("CustomSim(%1)").arg(i));
    }

    // Runs `work` at `seconds` on the scripted clock, inside a run's wait.
    void at(double seconds, std::function<void()> work) { scripted.at(seconds, std::move(work)); }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    ScriptedClock scripted;
    Clock* clock = &scripted;
    EventPump* pump = &scripted;
    std::unique_ptr<MainWindow> window;
};

// Where every officer stands; a fresh room has them all at their stations.
using Positions = std::vector<std::pair<float, float>>;
inline Positions positions(const ChapterRoom& room) {
    Positions out;
    for (int i = 0; i < kOfficerCount; ++i)
        out.emplace_back(room.officer(i).curX, room.officer(i).curY);
    return out;
}
inline bool allAtStations(const ChapterRoom& room) {
    return positions(room) == positions(ChapterRoom());
}

// Where the officers stand after `script` has played to its end; messages
// of the compiler are collected into `messages` when given.
inline ChapterRoom playedThrough(const char* script, std::vector<std::string>* messages = nullptr) {
    struct : DiagnosticSink {
        std::vector<std::string> texts;
        void diagnose(const Diagnostic& d) override { texts.push_back(d.text); }
    } sink;
    ChapterRoom room;
    const auto played = composeScript(room, script, sink);
    if (played) TimelineCursor(*played, room).seek(played->size());
    if (messages) *messages = sink.texts;
    return room;
}

}  // namespace velistrad
