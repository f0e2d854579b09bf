#include "app/editor_assist.h"

#include <cmath>
#include <utility>

#include <QAction>
#include <QFutureWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QtConcurrent/QtConcurrentRun>

#include "app/label_text.h"
#include "app/plan_view.h"
#include "app/script_editor.h"
#include "app/window_context.h"
#include "engine/simulator.h"
#include "render/plan_picture.h"
#include "render/route_preview.h"

namespace velistrad {

namespace {

constexpr int kCheckDelayMs = 300;  // after the last keystroke
constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);
constexpr std::size_t kProblemsListed = 30;  // in the problems menu
// Longer scripts are checked on another thread (a few milliseconds' work).
constexpr std::size_t kCheckedAtOnce = 16 * 1024;

}  // namespace

EditorAssist::EditorAssist(WindowContext& window)
    : QObject(&window.mainWindow()), m_window(window) {}

void EditorAssist::build(QStatusBar* bar) {
    m_bar = bar;
    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(kCheckDelayMs);
    connect(m_checkTimer, &QTimer::timeout, this, &EditorAssist::checkNow);

    QStringList officers;
    for (int i = 0; i < kOfficerCount; ++i)
        officers << QString::fromStdString(m_window.room().officer(i).abbreviation);
    officers << QStringLiteral("All");
    m_window.scriptEditor().setCompletions(
        officers, {QStringLiteral("Now"), QStringLiteral("After"), QStringLiteral("Simult"),
                   QStringLiteral("Unsync")});

    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(true);
    m_entryStatus = new QLabel(bar);
    m_entryStatus->setObjectName(QStringLiteral("EntryStatus"));
    m_entryStatus->setMinimumWidth(40);
    m_entryStatus->setToolTip(QStringLiteral("The entry the text cursor is in"));
    bar->addWidget(m_entryStatus);
    m_problems = new QToolButton(bar);
    m_problems->setObjectName(QStringLiteral("Problems"));
    m_problems->setAutoRaise(true);
    m_problems->setPopupMode(QToolButton::InstantPopup);
    m_problems->setStyleSheet(QStringLiteral("QToolButton { color: #B00000; }"));
    m_problems->hide();
    bar->addWidget(m_problems);
    bar->addWidget(new QWidget(bar), 1);  // the problems stay beside the entry
    m_speedStatus = new QLabel(bar);
    m_speedStatus->setObjectName(QStringLiteral("SpeedStatus"));
    bar->addPermanentWidget(m_speedStatus);

    connect(&m_window.scriptEditor(), &QPlainTextEdit::textChanged, this, [this] {
        ++m_checkNumber;  // a check on its way is of another text now
        m_checkTimer->start();
        updateEntryStatus();
    });
    // A long script takes a while to go into the editor, read-only meanwhile.
    connect(&m_window.scriptEditor(), &SlicedTextEdit::fillProgress, this, [this](int percent) {
        if (percent < 100)
            m_bar->showMessage(
                QStringLiteral("Putting the script into the editor: %1 %").arg(percent));
        else
            m_bar->clearMessage();
    });
    connect(&m_window.scriptEditor(), &QPlainTextEdit::cursorPositionChanged, this, [this] {
        updateEntryStatus();
        updateRoutePreview();
    });
}

namespace {

struct CheckedScript {
    std::string text;
    CheckResult check;
    std::vector<ProblemSpan> problems;  // in the editor
};

CheckedScript checkedScript(const ChapterRoom& room, std::string text) {
    CheckedScript checked;
    checked.check = checkScript(room, text);
    checked.problems = ScriptEdit::problemSpans(text, fieldMarks(text, checked.check));
    checked.text = std::move(text);
    return checked;
}

}  // namespace

void EditorAssist::checkNow() {
    m_checkTimer->stop();
    // During a run the officers are on their way: checked once it ends.
    if (m_window.simulator().busy && !m_window.simulator().paused) return;
    // A script still going into the editor is checked once it is all in.
    if (m_window.scriptEditor().filling()) return;
    ++m_checkNumber;  // a check still on its way is out of date
    std::string text = m_window.scriptText();
    if (text == kPlaceholderText) {
        m_check = {};
        m_checkedText.clear();
        m_window.scriptEditor().clearMarks();
        showProblems();
        return;
    }
    const auto show = [this](CheckedScript checked) {
        m_check = std::move(checked.check);
        m_checkedText = std::move(checked.text);
        m_window.scriptEditor().setProblems(std::move(checked.problems));
        showProblems();
    };
    if (text.size() <= kCheckedAtOnce) {
        show(checkedScript(m_window.room(), std::move(text)));
        return;
    }
    // A long script is checked away from the window's thread, so that the
    // window goes on answering; its marks come when the check is done, if
    // the text has not changed meanwhile. One check at a time: a later one
    // waits for it, and only the latest is made.
    if (m_checking) {
        m_checkAgain = true;
        return;
    }
    m_checking = true;
    auto* watcher = new QFutureWatcher<CheckedScript>(this);
    connect(watcher, &QFutureWatcher<CheckedScript>::finished, this,
            [watcher, show, number = m_checkNumber, this] {
                watcher->deleteLater();
                m_checking = false;
                if (number == m_checkNumber) show(watcher->future().takeResult());
                if (std::exchange(m_checkAgain, false)) checkNow();
            });
    watcher->setFuture(QtConcurrent::run(checkedScript, m_window.room(), std::move(text)));
}

void EditorAssist::showProblems() {
    std::vector<std::size_t> listed;  // the error details repeat the message before them
    for (std::size_t i = 0; i < m_check.problems.size(); ++i)
        if (m_check.problems[i].kind != DiagnosticKind::ErrorDetails) listed.push_back(i);
    if (listed.empty()) {
        m_problems->hide();
        return;
    }
    const Diagnostic& first = m_check.problems[listed.front()];
    QString text = labelText(problemText(m_checkedText, first));
    if (listed.size() > 1) text += QStringLiteral(" (and %1 more)").arg(listed.size() - 1);
    m_problems->setProperty("fullText", text);
    elideProblems();
    m_problems->setToolTip(text + QStringLiteral("\nClick to select the entry in the editor"));
    auto* menu = new QMenu(m_problems);
    for (std::size_t k = 0; k < listed.size() && k < kProblemsListed; ++k) {
        const std::size_t i = listed[k];
        QAction* action =
            menu->addAction(labelText(problemText(m_checkedText, m_check.problems[i])));
        connect(action, &QAction::triggered, this, [this, i] { selectProblem(i); });
    }
    delete m_problems->menu();
    m_problems->setMenu(menu);
    m_problems->setPopupMode(listed.size() == 1 ? QToolButton::DelayedPopup
                                                : QToolButton::InstantPopup);
    disconnect(m_problems, &QToolButton::clicked, nullptr, nullptr);
    const std::size_t only = listed.front();
    connect(m_problems, &QToolButton::clicked, this, [this, only] { selectProblem(only); });
    m_problems->show();
}

// What the entry and the speed leave of the status bar.
void EditorAssist::elideProblems() {
    const int room =
        m_bar->width() - m_entryStatus->sizeHint().width() - m_speedStatus->sizeHint().width() - 48;
    m_problems->setText(m_problems->fontMetrics().elidedText(
        m_problems->property("fullText").toString(), Qt::ElideRight, std::max(room, 60)));
}

void EditorAssist::selectProblem(std::size_t index) {
    if (index >= m_check.problems.size() || m_window.scriptText() != m_checkedText) return;
    selectEntry(m_checkedText, m_check.problems[index].entry);
    m_window.scriptEditor().setFocus(Qt::OtherFocusReason);
}

void EditorAssist::selectEntry(const std::string& script, std::size_t entry) {
    if (m_window.scriptEditor().filling()) return;  // it may lie beyond what is in
    const auto raw = entry >= 1 ? entryFields(script, entry - 1) : std::nullopt;
    if (!raw) return;
    const std::size_t start = entryStart(script, *raw);
    const std::size_t end = (*raw)[2].end;
    QTextCursor cursor(m_window.scriptEditor().document());
    cursor.setPosition(editorPosition(script, start));
    cursor.setPosition(editorPosition(script, end), QTextCursor::KeepAnchor);
    m_window.scriptEditor().setTextCursor(cursor);
    m_window.scriptEditor().ensureCursorVisible();
}

void EditorAssist::updateEntryStatus() {
    if (m_entryStatus == nullptr) return;
    const QString text = m_window.scriptEditor().text();
    if (text == QString::fromUtf8(kPlaceholderText)) {
        m_entryStatus->clear();
        return;
    }
    const std::string script = text.toStdString();
    m_entryStatus->setText(labelText(
        entryAtText(script, byteOffset(text, m_window.scriptEditor().textCursor().position()))));
    if (m_problems->isVisible()) elideProblems();
}

void EditorAssist::updateRoutePreview() {
    // An aid to writing: shown while the editor has the keyboard and no run
    // plays; a held or finished run leaves room for it.
    const bool playing = m_window.simulator().busy && !m_window.simulator().paused;
    const bool editing = m_window.scriptEditor().hasFocus();
    const QString text = m_window.scriptEditor().text();
    std::size_t entry = kNoEntry;
    std::string script;
    if (!playing && editing && text != QString::fromUtf8(kPlaceholderText)) {
        script = text.toStdString();
        entry = entryAt(script, byteOffset(text, m_window.scriptEditor().textCursor().position()));
    }
    if (entry == m_previewEntry && script == m_previewText) return;
    m_previewEntry = entry;
    m_previewText = script;
    if (entry == kNoEntry) {
        m_window.planView().setPreview({});
        return;
    }
    const EntryRoute route = entryRoute(m_window.room(), script, entry);
    if (route.routes.empty()) {
        m_window.planView().setPreview({});
        return;
    }
    // The room outlives the plan widget that calls this.
    const ChapterRoom& room = m_window.room();
    m_window.planView().setPreview(
        [route, &room](QPainter& painter) { paintRoutePreview(painter, room, route); });
}

void EditorAssist::holdPreview() {
    m_window.planView().setPreview({});
    // Shown again, for the same entry too, once the run holds or ends.
    m_previewEntry = kNoEntry;
    m_previewText.clear();
}

void EditorAssist::showSpeed(int index) {
    m_speedStatus->setText(QStringLiteral("Speed: %1").arg(QString::fromUtf8(speedName(index))));
}

void EditorAssist::fitProblems() {
    if (m_problems->isVisible()) elideProblems();
}

}  // namespace velistrad
