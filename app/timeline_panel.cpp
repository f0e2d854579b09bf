#include "app/timeline_panel.h"

#include <QAction>
#include <QBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QResizeEvent>
#include <QSlider>
#include <QTextEdit>

#include "app/label_text.h"
#include "app/plan_view.h"
#include "app/script_editor.h"
#include "app/window_context.h"
#include "engine/simulator.h"

namespace velistrad {

namespace {

constexpr double kPlayingRefresh = 0.2;  // seconds between readouts while a run plays

}  // namespace

TimelinePanel::TimelinePanel(WindowContext& window, Clock& clock)
    : QObject(&window.mainWindow()), m_window(window), m_clock(clock) {}

void TimelinePanel::build(QWidget* central, QBoxLayout* planColumn, QMenu* menu) {
    m_slider = new QSlider(Qt::Horizontal, central);
    m_slider->setObjectName(QStringLiteral("Timeline"));
    m_slider->setFixedHeight(20);
    planColumn->addWidget(m_slider);
    m_slider->setToolTip(QStringLiteral(
        "Drag to move every officer to that moment of the simulation; Play goes on from there"));
    // The readout's text changes five times a second while a run plays. Held
    // at the size of a box the layout gives, it lays out nothing else anew.
    // A long entry cuts it short rather than widening the window.
    auto* box = new QWidget(central);
    box->setFixedHeight(18);
    box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    box->installEventFilter(this);
    m_readout = new QLabel(box);
    m_readout->setObjectName(QStringLiteral("TimelineReadout"));
    m_readout->setContentsMargins(6, 0, 6, 0);
    central->layout()->addWidget(box);
    m_readout->setToolTip(QStringLiteral(
        "The frame shown and the frames in all, the seconds played and the seconds in all at "
        "the current speed, and the entry of the script the frame belongs to"));

    connect(m_slider, &QSlider::sliderPressed, this,
            [this] { showFrame(m_window.simulator().playedFrames()); });
    connect(m_slider, &QSlider::valueChanged, this, [this](int value) {
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
        m_window.planView().addAction(action);
        m_slider->addAction(action);
        const auto target = step.target;
        connect(action, &QAction::triggered, this, [this, target] {
            if (const auto played = m_window.simulator().played())
                showFrame(target(*played, m_window.simulator().playedFrames()));
        });
        m_actions.push_back(action);
    }
    m_window.planView().setFocusPolicy(Qt::ClickFocus);
}

void TimelinePanel::showFrame(std::size_t frames) {
    if (!m_window.simulator().played()) return;
    // Moving the timeline of a playing run holds it, as a Play press does.
    if (m_window.simulator().busy && !m_window.simulator().paused)
        m_window.simulator().playOrPause();
    m_window.simulator().seekTo(frames);
    update();
}

void TimelinePanel::frameShown() {
    // A playing run shows forty frames a second; the readout and the slider
    // need five, and each costs as much as a frame of the plan.
    const double now = m_clock.now();
    const bool playing = m_window.simulator().busy && !m_window.simulator().paused;
    if (playing && now - m_lastUpdate < kPlayingRefresh) return;
    m_lastUpdate = now;
    update();
}

bool TimelinePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && watched == m_readout->parentWidget())
        m_readout->setFixedSize(static_cast<QResizeEvent*>(event)->size());
    return QObject::eventFilter(watched, event);
}

void TimelinePanel::update() {
    const std::shared_ptr<const PlayedTimeline> played = m_window.simulator().played();
    const std::size_t shown = m_window.simulator().playedFrames();
    m_settingSlider = true;
    m_slider->setEnabled(played != nullptr);
    m_slider->setRange(0, played ? static_cast<int>(played->size()) : 0);
    m_slider->setValue(static_cast<int>(shown));
    m_settingSlider = false;
    for (QAction* action : m_actions) action->setEnabled(played != nullptr);
    emit changed();
    if (!played) {
        m_readout->clear();
        m_window.scriptEditor().setExtraSelections({});
        m_marked.clear();
        m_markedScript.clear();
        return;
    }
    Simulator& sim = m_window.simulator();
    const bool outdated = sim.timelineOutdated();
    m_readout->setText(
        labelText(readoutText(*played, sim.playedScript(), shown, sim.framePeriod(), outdated)));
    // The entries of another script are not marked in this one.
    highlightEntries(outdated ? 0 : shown);
}

void TimelinePanel::highlightEntries(std::size_t shown) {
    const std::shared_ptr<const PlayedTimeline> played = m_window.simulator().played();
    // A script still going into the editor has no place there for its entries yet.
    const bool placed = played && shown > 0 && !m_window.scriptEditor().filling();
    const std::string script = placed ? m_window.scriptText() : std::string();
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    if (placed) {
        for (const std::size_t entry : played->entriesAt(shown - 1)) {
            if (entry >= played->entrySpans.size()) continue;
            const auto span = played->entrySpans[entry];
            if (span.second > script.size()) continue;  // the text is no longer the one played
            spans.push_back(span);
        }
    }
    if (!spans.empty() && spans == m_marked && script == m_markedScript) return;
    m_marked = spans;
    m_markedScript = script;
    QList<QTextEdit::ExtraSelection> marks;
    for (const auto& [start, end] : spans) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_window.scriptEditor().document());
        mark.cursor.setPosition(editorPosition(script, start));
        mark.cursor.setPosition(editorPosition(script, end), QTextCursor::KeepAnchor);
        mark.format.setBackground(QColor(0xFF, 0xE9, 0x8C));
        marks.append(mark);
    }
    m_window.scriptEditor().setExtraSelections(marks);
}

}  // namespace velistrad
