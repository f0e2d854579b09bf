// The Play command, playback and the speed controls: the run state of the
// main window without any window.
//
// Everything runs on one thread. Playback waits through the EventPump, which
// runs window event handlers inside the wait, so Simulate_Click (pause or
// resume), Do_Reset_Click, Speed_Click and abandon() may be called re-entrantly
// while a run plays. `busy` and `paused` are the only guards: a nested Play
// press during a run only flips `paused`; Reset holds the playing run and
// starts its own run inside it, and a held run never plays another frame.
// Times are seconds, positions twips.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/movement_compiler.h"
#include "compiler/reporter.h"
#include "engine/platform.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"

namespace velistrad {

// Marker geometry: circle centred on the label, whose upper left corner is
// the officer's position.
inline constexpr float kMarkerCentreDx = 85.0f;
inline constexpr float kMarkerCentreDy = 75.0f;
inline constexpr float kMarkerRadius = 150.0f;

// Seconds per frame for the speed items 1..5 (Turtle .. Lightning).
double speedFrameDelay(int index);

class Simulator {
public:
    Simulator(ChapterRoom& room, Reporter& reporter, RunHost& host, DrawingSurface& surface,
              Clock& clock, EventPump& pump);

    // Play: starts a run, or pauses / resumes the one in progress.
    void Simulate_Click();

    // Reset: every officer to his station, the editor's text kept.
    void Do_Reset_Click();

    void Speed_Click(int Index);   // 1..5
    void SpeedB_Click(int Index);  // 0..4

    // Plays a composed timeline from the stations; returns after its last frame.
    void runsims(const Timeline& x, const std::vector<std::size_t>& delayFrames = {});
    void runsim(std::string_view x);
    void drawofficer(std::string_view txt, float x, float y);
    // Waits x seconds when x > 0, otherwise one frame period.
    void sleep(double x);

    // The program is ending: every wait returns at once, every run unwinds,
    // and no new run starts.
    void abandon() { m_abandoned = true; }
    bool abandoned() const { return m_abandoned; }

    bool busy = false;
    bool paused = true;
    double framedelay = 0.025;

    ChapterRoom& room() { return m_room; }

private:
    void exchangePictures();

    ChapterRoom& m_room;
    MovementCompiler m_compiler;
    RunHost& m_host;
    DrawingSurface& m_surface;
    Clock& m_clock;
    EventPump& m_pump;
    bool m_abandoned = false;
};

}  // namespace velistrad
