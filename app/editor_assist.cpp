// The editor's help: the live check a moment after each edit, its problems
// in the status bar, the entry under the cursor, the route preview on the
// plan, and the window's fit to small screens. The engine does the work
// (engine/script_check.h); this is the glue.
#include <cmath>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/script_editor.h"
#include "render/plan_picture.h"
#include "render/route_preview.h"

namespace velistrad {

namespace {

constexpr int kCheckDelayMs = 300;  // after the last keystroke
constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);
constexpr std::size_t kProblemsListed = 30;  // in the problems menu

}  // namespace

void MainWindow::buildEditorAssist() {
    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(kCheckDelayMs);
    connect(m_checkTimer, &QTimer::timeout, this, &MainWindow::checkScriptNow);

    QStringList officers;
    for (int i = 0; i < kOfficerCount; ++i)
        officers << QString::fromStdString(m_room.officer(i).abbreviation);
    officers << QStringLiteral("All");
    m_editor->setCompletions(officers, {QStringLiteral("Now"), QStringLiteral("After"),
                                        QStringLiteral("Simult"), QStringLiteral("Unsync")});

    QStatusBar* bar = statusBar();
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

    connect(m_splitter, &QSplitter::splitterMoved, this,
            [this] { m_editorWidth = m_splitter->sizes().value(1, m_editorWidth); });

    connect(m_editor, &QPlainTextEdit::textChanged, this, [this] {
        scheduleCheck();
        updateEntryStatus();
    });
    connect(m_editor, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        updateEntryStatus();
        m_previewHeld = false;
        updateRoutePreview();
    });
}

void MainWindow::scheduleCheck() {
    m_checkTimer->start();
}

void MainWindow::checkScriptNow() {
    m_checkTimer->stop();
    const std::string text = scriptText();
    // During a run the officers are on their way: checked once it ends.
    if (m_simulator->busy && !m_simulator->paused) return;
    if (text == kPlaceholderText) {
        m_check = {};
        m_checkedText.clear();
        m_editor->clearMarks();
    } else {
        m_check = checkScript(m_room, text);
        m_checkedText = text;
        m_editor->setMarks(text, fieldMarks(text, m_check));
    }
    showProblems();
}

void MainWindow::showProblems() {
    std::vector<std::size_t> listed;  // the error details repeat the message before them
    for (std::size_t i = 0; i < m_check.problems.size(); ++i)
        if (m_check.problems[i].kind != DiagnosticKind::ErrorDetails) listed.push_back(i);
    if (listed.empty()) {
        m_problems->hide();
        return;
    }
    const Diagnostic& first = m_check.problems[listed.front()];
    QString text = QString::fromStdString(problemText(m_checkedText, first));
    if (listed.size() > 1) text += QStringLiteral(" (and %1 more)").arg(listed.size() - 1);
    m_problems->setProperty("fullText", text);
    elideProblems();
    m_problems->setToolTip(text + QStringLiteral("\nClick to select the entry in the editor"));
    auto* menu = new QMenu(m_problems);
    for (std::size_t k = 0; k < listed.size() && k < kProblemsListed; ++k) {
        const std::size_t i = listed[k];
        QAction* action = menu->addAction(
            QString::fromStdString(problemText(m_checkedText, m_check.problems[i])));
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
void MainWindow::elideProblems() {
    const int room = statusBar()->width() - m_entryStatus->sizeHint().width() -
                     m_speedStatus->sizeHint().width() - 48;
    m_problems->setText(m_problems->fontMetrics().elidedText(
        m_problems->property("fullText").toString(), Qt::ElideRight, std::max(room, 60)));
}

void MainWindow::selectProblem(std::size_t index) {
    if (index >= m_check.problems.size() || scriptText() != m_checkedText) return;
    selectEntry(m_checkedText, m_check.problems[index].entry);
    m_editor->setFocus(Qt::OtherFocusReason);
}

void MainWindow::selectEntry(const std::string& script, std::size_t entry) {
    const std::vector<ScriptEntry> entries = splitScript(script);
    if (entry < 1 || entry > entries.size()) return;
    const ScriptEntry& e = entries[entry - 1];
    const std::size_t start = entryStart(script, e);
    const std::size_t end = e.raw[2].end;
    QTextCursor cursor(m_editor->document());
    cursor.setPosition(editorPosition(script, start));
    cursor.setPosition(editorPosition(script, end), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_editor->ensureCursorVisible();
}

void MainWindow::updateEntryStatus() {
    if (m_entryStatus == nullptr) return;
    const QString text = m_editor->toPlainText();
    if (text == QString::fromUtf8(kPlaceholderText)) {
        m_entryStatus->clear();
        return;
    }
    const std::string script = text.toStdString();
    m_entryStatus->setText(QString::fromStdString(
        entryAtText(script, byteOffset(text, m_editor->textCursor().position()))));
    if (m_problems->isVisible()) elideProblems();
}

void MainWindow::updateRoutePreview() {
    // An aid to writing: shown while the editor has the keyboard.
    const bool playing = m_simulator && m_simulator->busy;
    const bool editing = m_editor->hasFocus();
    const QString text = m_editor->toPlainText();
    std::size_t entry = kNoEntry;
    std::string script;
    if (!playing && editing && !m_previewHeld && text != QString::fromUtf8(kPlaceholderText)) {
        script = text.toStdString();
        entry = entryAt(script, byteOffset(text, m_editor->textCursor().position()));
    }
    if (entry == m_previewEntry && script == m_previewText) return;
    m_previewEntry = entry;
    m_previewText = script;
    if (entry == kNoEntry) {
        m_plan->setPreview({});
        return;
    }
    const EntryRoute route = entryRoute(m_room, script, entry);
    if (route.routes.empty()) {
        m_plan->setPreview({});
        return;
    }
    // The room outlives the plan widget that calls this.
    const ChapterRoom& room = m_room;
    m_plan->setPreview(
        [route, &room](QPainter& painter) { paintRoutePreview(painter, room, route); });
}

void MainWindow::fitToScreen(const QRect& available) {
    // Room for the title bar and frame the window system adds.
    const QSize frame(16, 40);
    const QSize natural = sizeHint();
    const QSize room = available.size() - frame;
    // Qt would open a window at most two thirds of the screen high.
    resize(natural.boundedTo(room).expandedTo(minimumSizeHint()));
    if (natural.width() > room.width() || natural.height() > room.height())
        move(available.topLeft());
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // Once the layout has given the plan its new height.
    QMetaObject::invokeMethod(this, &MainWindow::fitSplitter, Qt::QueuedConnection);
}

void MainWindow::fitSplitter() {
    if (m_problems->isVisible()) elideProblems();
    // The plan column as wide as the plan at its height; the rest, and at
    // least what the user gave it, to the editor.
    const int total = m_splitter->width() - m_splitter->handleWidth();
    const int planNeeds =
        static_cast<int>(std::lround((m_plan->height() - 4.0) * kPlanWidth / kPlanHeight)) + 4;
    const int editor = std::max(m_editorWidth, total - planNeeds);
    if (total - editor >= m_plan->minimumWidth()) m_splitter->setSizes({total - editor, editor});
}

}  // namespace velistrad
