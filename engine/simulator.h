// The Play command, playback and the speed controls: the run state of the
// main window without any window.
//
// Everything runs on one thread. Playback waits through the EventPump, which
// runs window event handlers inside the wait, so playOrPause (pause or
// resume), reset, setSpeed and abandon() may be called re-entrantly
// while a run plays. `busy` and `paused` are the only guards: a nested Play
// press during a run only flips `paused`; Reset holds the playing run and
// starts its own run inside it, and a held run never plays another frame.
//
// The timeline of the latest run stays after it has played, until Reset or
// discardTimeline(). Times are seconds, positions twips.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "engine/platform.h"
#include "engine/played_timeline.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"

namespace velistrad {

// Seconds per frame for the speed items 1..5 (Turtle .. Lightning).
double speedFrameDelay(int index);
// "Turtle", "Slow", "Medium", "Fast", "Lightning": the speed table's names.
const char* speedName(int index);

class Simulator {
public:
    Simulator(ChapterRoom& room, DiagnosticSink& sink, RunHost& host, DrawingSurface& surface,
              Clock& clock, EventPump& pump);

    // Play: starts a run, or pauses / resumes the one in progress.
    void playOrPause();

    // Reset: every officer to his station, the editor's text kept.
    void reset();

    // One of the speed items 1..5; the speed buttons 0..4 are the items 1..5.
    void setSpeed(int index);

    // Plays a composed timeline from frame `from` on, the officers standing
    // where the frames before it leave them; returns after its last frame.
    void playTimeline(const PlayedTimeline& x, std::size_t from = 0);
    // Draws every officer who stands away from his station.
    void drawOfficersAway();
    void drawOfficer(int officer, float x, float y);
    // Waits x seconds when x > 0, otherwise one frame period.
    void sleep(double x);

    // The latest run's timeline, or null.
    std::shared_ptr<const PlayedTimeline> played() const { return m_played; }
    // How many of its frames have been played (or, held, are shown).
    std::size_t playedFrames() const { return m_playedFrames; }
    void discardTimeline();

    // Shows the kept timeline as it stands once `frames` of its frames have
    // played (clamped): everyone moves there at once and is drawn. A held
    // run resumes from there; after a run, Play plays on from there unless
    // it is the end. Does nothing without a timeline or while a run plays.
    void seekTo(std::size_t frames);

    // Composes the script into the kept timeline without playing a frame and
    // shows everyone at his station, so that it can be shown piece by piece
    // with seekTo (practice does). False, with the messages reported, when
    // it does not compose, or while a run is busy.
    bool prepare();
    // The program is ending: every wait returns at once, every run unwinds,
    // and no new run starts.
    void abandon() { m_abandoned = true; }
    bool abandoned() const { return m_abandoned; }

    bool busy = false;
    bool paused = true;
    double frameDelay = 0.025;

    // The seconds a frame really takes at the current speed: frameDelay, or
    // at Lightning, where frames wait nothing, what drawing and handling the
    // window's events took a frame in the latest run played there. Times
    // shown to the user are counted at this period.
    double framePeriod() const { return frameDelay > 0 ? frameDelay : m_lightningPeriod; }
    // Until a run has measured it: about what a frame of the plan takes.
    static constexpr double kLightningGuess = 0.0005;

    // The script the kept timeline was composed from.
    const std::string& playedScript() const { return m_playedScript; }
    // Whether the editor's script is no longer the one the kept timeline
    // was composed from: what is shown of it belongs to the script before.
    bool timelineOutdated();
    // Once no run is busy, a kept timeline of a script since changed is
    // discarded; true when it was.
    bool discardOutdatedTimeline();

    // Message boxes one Play may show before the rest are only counted.
    static constexpr std::size_t kShownMessages = 5;

    ChapterRoom& room() { return m_room; }

private:
    void exchangePictures();

    ChapterRoom& m_room;
    DiagnosticSink& m_sink;
    RunHost& m_host;
    DrawingSurface& m_surface;
    Clock& m_clock;
    EventPump& m_pump;
    bool m_abandoned = false;
    std::shared_ptr<const PlayedTimeline> m_played;
    std::size_t m_playedFrames = 0;
    std::string m_playedScript;  // the text m_played was composed from
    // Frame waits are paced from the previous deadline, not from when drawing
    // finished, so a run keeps its time; holds and long stalls start afresh.
    bool m_paced = false;
    double m_pace = 0;
    // Frames at Lightning pace nothing; what they took is measured instead.
    double m_lightningPeriod = kLightningGuess;
    double m_lightningSeconds = 0;
    std::size_t m_lightningFrames = 0;
    void takeLightningPeriod();
};

}  // namespace velistrad
