#include "engine/simulator.h"

#include <algorithm>

namespace velistrad {

namespace {

// Further behind than this (a modal box during playback, a stalled machine),
// a run goes on from now instead of rushing to catch up.
constexpr double kMaxLag = 0.25;

}  // namespace

double speedFrameDelay(int index) {
    switch (index) {
        case 1:
            return 0.07;
        case 2:
            return 0.05;
        case 3:
            return 0.025;
        case 4:
            return 0.01;
        default:
            return 0.0;
    }
}

const char* speedName(int index) {
    static constexpr const char* kNames[] = {"Turtle", "Slow", "Medium", "Fast", "Lightning"};
    return kNames[std::clamp(index, 1, 5) - 1];
}

Simulator::Simulator(ChapterRoom& room, DiagnosticSink& sink, RunHost& host,
                     DrawingSurface& surface, Clock& clock, EventPump& pump)
    : m_room(room), m_sink(sink), m_host(host), m_surface(surface), m_clock(clock), m_pump(pump) {}

void Simulator::exchangePictures() {
    m_host.picturesExchanged();
}

void Simulator::playOrPause() {
    if (m_abandoned) return;
    paused = !paused;
    exchangePictures();
    if (busy) return;  // this press paused or resumed the run in progress

    busy = true;
    const std::string script = m_host.scriptText();
    if (m_played && m_playedFrames < m_played->size() && script == m_playedScript) {
        // The kept timeline, moved back: it plays on from where it stands.
        const std::shared_ptr<const PlayedTimeline> played = m_played;
        playTimeline(*played, m_playedFrames);
    } else {
        // No window event is handled while compiling: the whole script is
        // composed before the first frame plays.
        LimitedSink limited(m_sink, kShownMessages);
        std::shared_ptr<const PlayedTimeline> played = composeScript(m_room, script, limited);
        limited.finish();
        if (played) {
            m_played = played;
            m_playedScript = script;
            playTimeline(*played);
        }
    }

    busy = false;
    if (!paused) {
        paused = true;
        exchangePictures();
    }
}

void Simulator::reset() {
    const std::string remembered = m_host.scriptText();
    m_host.setScriptText(kResetScript);
    if (!paused && busy) playOrPause();  // hold the playing run where it is
    busy = false;                        // so the next press starts a new run
    playOrPause();
    discardTimeline();
    m_host.setScriptText(remembered);
}

bool Simulator::timelineOutdated() {
    return m_played && m_host.scriptText() != m_playedScript;
}

bool Simulator::discardOutdatedTimeline() {
    if (busy || !timelineOutdated()) return false;
    discardTimeline();
    return true;
}

void Simulator::discardTimeline() {
    m_played.reset();
    m_playedFrames = 0;
    m_playedScript.clear();
}

bool Simulator::prepare() {
    if (busy || m_abandoned) return false;
    const std::string script = m_host.scriptText();
    const ChapterRoom before = m_room;  // what is drawn stays true when it fails
    LimitedSink limited(m_sink, kShownMessages);
    std::shared_ptr<const PlayedTimeline> played = composeScript(m_room, script, limited);
    limited.finish();
    if (!played) {
        m_room = before;
        return false;
    }
    m_played = std::move(played);
    m_playedScript = script;
    seekTo(0);
    return true;
}

void Simulator::seekTo(std::size_t frames) {
    if (!m_played || (busy && !paused)) return;
    m_playedFrames = std::min(frames, m_played->size());
    TimelineCursor(*m_played, m_room).seek(m_playedFrames);
    drawOfficersAway();
    m_host.frameShown();
}

void Simulator::setSpeed(int index) {
    frameDelay = speedFrameDelay(index);
    m_host.speedChanged(index);
}

void Simulator::playTimeline(const PlayedTimeline& x, std::size_t from) {
    TimelineCursor cursor(x, m_room);
    cursor.seek(from);
    const bool kept = m_played.get() == &x;
    if (kept) m_playedFrames = cursor.next();
    m_pace = m_clock.now();
    m_lightningSeconds = 0;
    m_lightningFrames = 0;
    while (!cursor.atEnd()) {
        // A hold takes effect before a frame, never during a wait.
        if (paused) {
            takeLightningPeriod();
            m_paced = false;
            while (paused && !m_abandoned) sleep(0.1);
            m_pace = m_clock.now();
        }
        // Moved while held (a handler may hold, move and resume in one go):
        // go on from there.
        if (kept && m_played.get() == &x && m_playedFrames != cursor.next()) {
            cursor.seek(m_playedFrames);
            if (cursor.atEnd()) break;
        }
        if (m_abandoned) break;
        const double started = m_clock.now();
        const TimelineCursor::Step step = cursor.step();
        if (kept && m_played.get() == &x) {
            m_playedFrames = cursor.next();
            m_host.frameShown();
        }
        if (step.draw) drawOfficersAway();
        m_paced = true;
        sleep(step.wait);
        m_paced = false;
        // A frame in which the run was held, or a box kept open, says
        // nothing of how fast frames go.
        const double took = m_clock.now() - started;
        if (step.wait <= 0 && frameDelay <= 0 && !paused && took < kMaxLag) {
            m_lightningSeconds += took;
            ++m_lightningFrames;
        }
    }
    takeLightningPeriod();
}

void Simulator::takeLightningPeriod() {
    if (m_lightningFrames > 0)
        m_lightningPeriod = m_lightningSeconds / static_cast<double>(m_lightningFrames);
    m_lightningSeconds = 0;
    m_lightningFrames = 0;
}

void Simulator::drawOfficersAway() {
    m_surface.clear();
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = m_room.officer(i);
        // At his station the plan already shows him.
        if (!o.atStation()) drawOfficer(i, o.curX, o.curY);
    }
    m_surface.present();
}

void Simulator::drawOfficer(int officer, float x, float y) {
    m_surface.drawOfficer({officer, m_room.officer(officer).abbreviation, x, y});
}

void Simulator::sleep(double x) {
    const double d = x > 0 ? x : frameDelay;  // read now: a speed change applies from here
    const double now = m_clock.now();
    double start = now;
    // At Lightning there is no schedule to keep: frames take what drawing
    // takes, and a delay waits its own seconds from when it starts.
    const bool paced = m_paced && frameDelay > 0;
    if (paced && m_pace <= now && now - m_pace < kMaxLag) start = m_pace;
    const double deadline = start + d;
    if (m_paced) m_pace = deadline;
    // At least one pass of event handling, even at zero delay.
    do {
        m_pump.processEvents(deadline);
    } while (!m_abandoned && m_clock.now() < deadline);
}

}  // namespace velistrad
