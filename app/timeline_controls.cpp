// The timeline under the plan: a slider over the kept run's frames, a
// readout of where it stands, the Playback menu's steps, and the entries of
// the shown frame marked in the editor. The engine answers every question
// (where everyone stands, which entries, what time); this is the glue.
#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <QTextEdit>

#include "app/follow_officer.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/script_editor.h"

namespace velistrad {

namespace {

constexpr double kPlayingRefresh = 0.1;  // seconds between readouts while a run plays

}  // namespace

void MainWindow::buildTimeline(QWidget* central, QMenu* menu) {
    m_timeline = new QSlider(Qt::Horizontal, central);
    m_timeline->setObjectName(QStringLiteral("Timeline"));
    m_timeline->setFixedHeight(20);
    m_planColumn->addWidget(m_timeline);
    m_timeline->setToolTip(QStringLiteral(
        "Drag to move every officer to that moment of the simulation; Play goes on from there"));
    m_readout = new QLabel(central);
    m_readout->setObjectName(QStringLiteral("TimelineReadout"));
    m_readout->setFixedHeight(18);
    m_readout->setContentsMargins(6, 0, 6, 0);
    central->layout()->addWidget(m_readout);
    m_readout->setToolTip(QStringLiteral(
        "The frame shown and the frames in all, the seconds played and the seconds in all at "
        "the current speed, and the entry of the script the frame belongs to"));

    connect(m_timeline, &QSlider::sliderPressed, this,
            [this] { showFrame(m_simulator->playedFrames()); });
    connect(m_timeline, &QSlider::valueChanged, this, [this](int value) {
        if (!m_settingSlider) showFrame(static_cast<std::size_t>(value));
    });

    // Active where the plan or the slider has the focus, so that the arrow
    // keys keep moving the text cursor in the editor.
    struct Step {
        const char* name;
        const char* caption;
        QKeySequence keys;
        std::size_t (*target)(const PlayedTimeline&, std::size_t shown);
    };
    const Step steps[] = {
        {"Playback_PreviousFrame", "Previous Frame", QKeySequence(Qt::Key_Left),
         [](const PlayedTimeline&, std::size_t shown) { return shown > 0 ? shown - 1 : 0; }},
        {"Playback_NextFrame", "Next Frame", QKeySequence(Qt::Key_Right),
         [](const PlayedTimeline&, std::size_t shown) { return shown + 1; }},
        {"Playback_PreviousEntry", "Previous Entry", QKeySequence(Qt::SHIFT | Qt::Key_Left),
         [](const PlayedTimeline& t, std::size_t shown) { return t.previousEntryStart(shown); }},
        {"Playback_NextEntry", "Next Entry", QKeySequence(Qt::SHIFT | Qt::Key_Right),
         [](const PlayedTimeline& t, std::size_t shown) { return t.nextEntryStart(shown); }},
        {"Playback_FirstFrame", "First Frame", QKeySequence(Qt::Key_Home),
         [](const PlayedTimeline&, std::size_t) { return std::size_t{0}; }},
        {"Playback_LastFrame", "Last Frame", QKeySequence(Qt::Key_End),
         [](const PlayedTimeline& t, std::size_t) { return t.size(); }},
    };
    for (const Step& step : steps) {
        QAction* action = menu->addAction(QString::fromUtf8(step.caption));
        action->setObjectName(QString::fromUtf8(step.name));
        action->setShortcut(step.keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        m_plan->addAction(action);
        m_timeline->addAction(action);
        const auto target = step.target;
        connect(action, &QAction::triggered, this, [this, target] {
            if (const auto played = m_simulator->played())
                showFrame(target(*played, m_simulator->playedFrames()));
        });
        m_playbackActions.push_back(action);
    }
    m_plan->setFocusPolicy(Qt::ClickFocus);
}

void MainWindow::showFrame(std::size_t frames) {
    if (!m_simulator->played()) return;
    // Moving the timeline of a playing run holds it, as a Play press does.
    if (m_simulator->busy && !m_simulator->paused) m_simulator->playOrPause();
    m_simulator->seekTo(frames);
    updateTimeline();
}

void MainWindow::frameShown() {
    // A playing run shows forty frames a second; the readout needs ten.
    const double now = m_clock->now();
    const bool playing = m_simulator->busy && !m_simulator->paused;
    if (playing && now - m_lastTimelineUpdate < kPlayingRefresh) return;
    m_lastTimelineUpdate = now;
    updateTimeline();
}

void MainWindow::updateTimeline() {
    const std::shared_ptr<const PlayedTimeline> played = m_simulator->played();
    const std::size_t shown = m_simulator->playedFrames();
    m_settingSlider = true;
    m_timeline->setEnabled(played != nullptr);
    m_timeline->setRange(0, played ? static_cast<int>(played->size()) : 0);
    m_timeline->setValue(static_cast<int>(shown));
    m_settingSlider = false;
    for (QAction* action : m_playbackActions) action->setEnabled(played != nullptr);
    if (m_follow) m_follow->refresh();
    if (!played) {
        m_readout->clear();
        m_editor->setExtraSelections({});
        return;
    }
    const std::string script = scriptText();
    std::string text = positionText(*played, shown, m_simulator->frameDelay);
    const std::string entry = entryText(*played, script, shown);
    if (!entry.empty()) text += " \u00B7 " + entry;
    m_readout->setText(QString::fromStdString(text));
    highlightEntries(shown);
}

void MainWindow::highlightEntries(std::size_t shown) {
    const std::shared_ptr<const PlayedTimeline> played = m_simulator->played();
    QList<QTextEdit::ExtraSelection> marks;
    if (played && shown > 0) {
        const std::string script = scriptText();
        for (const std::size_t entry : played->entriesAt(shown - 1)) {
            if (entry >= played->entrySpans.size()) continue;
            const auto [start, end] = played->entrySpans[entry];
            if (end > script.size()) continue;  // the text is no longer the one played
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(m_editor->document());
            mark.cursor.setPosition(editorPosition(script, start));
            mark.cursor.setPosition(editorPosition(script, end), QTextCursor::KeepAnchor);
            mark.format.setBackground(QColor(0xFF, 0xE9, 0x8C));
            marks.append(mark);
        }
    }
    m_editor->setExtraSelections(marks);
}

}  // namespace velistrad
