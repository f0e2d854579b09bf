#include "engine/simulator.h"

#include <algorithm>

#include "engine/playback.h"
#include "model/number_text.h"

namespace velistrad {

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

Simulator::Simulator(ChapterRoom& room, Reporter& reporter, RunHost& host, DrawingSurface& surface,
                     Clock& clock, EventPump& pump)
    : m_room(room),
      m_compiler(room, reporter),
      m_host(host),
      m_surface(surface),
      m_clock(clock),
      m_pump(pump) {}

void Simulator::exchangePictures() {
    m_host.picturesExchanged();
}

void Simulator::Simulate_Click() {
    if (m_abandoned) return;
    paused = !paused;
    exchangePictures();
    if (busy) return;  // this press paused or resumed the run in progress

    busy = true;
    // No window event is handled while compiling: the whole script is
    // composed before the first frame plays.
    const std::vector<ScriptEntry> entries = splitScript(m_host.scriptText());
    const auto played = composeScript(
        m_compiler, entries, [this](const std::string& text) { m_host.errorDetails(text); });
    if (played) runsims(played->mainline, played->delayFrames);

    busy = false;
    if (!paused) {
        paused = true;
        exchangePictures();
    }
}

void Simulator::Do_Reset_Click() {
    const std::string remembered = m_host.scriptText();
    m_host.setScriptText(kResetScript);
    if (!paused && busy) Simulate_Click();  // hold the playing run where it is
    busy = false;                           // so the next press starts a new run
    Simulate_Click();
    m_host.setScriptText(remembered);
}

void Simulator::Speed_Click(int Index) {
    framedelay = speedFrameDelay(Index);
    m_host.speedChanged(Index);
}

void Simulator::SpeedB_Click(int Index) {
    Speed_Click(Index + 1);
}

void Simulator::runsims(const Timeline& x, const std::vector<std::size_t>& delayFrames) {
    m_room.resetToStations();
    auto delay = delayFrames.begin();
    for (std::size_t i = 0; i < x.size(); ++i) {
        // A hold takes effect before a frame, never during a wait.
        while (paused && !m_abandoned) sleep(0.1);
        if (m_abandoned) return;
        const std::string& frame = x[i];
        if (delay != delayFrames.end() && *delay == i) {
            ++delay;
            // Unsync positions joined onto a delay are drawn; the wait is kept.
            const std::string_view triples = delayFrameTriples(frame);
            if (!triples.empty()) runsim(triples);
            sleep(leadingNumber(frame));
        } else if (frame.find(',') != std::string::npos) {
            runsim(frame);
            sleep(-1);
        } else {
            sleep(leadingNumber(frame));
        }
    }
}

void Simulator::runsim(std::string_view x) {
    // Fewer than three fields: the plan keeps its last drawing.
    if (std::count(x.begin(), x.end(), ',') < 2) return;
    m_surface.clear();
    applyFrame(m_room, x);
    for (int i = 0; i < kOfficerCount; ++i) {
        const Officer& o = m_room.officer(i);
        // At his station the plan picture already shows him.
        if (!o.atStation()) drawofficer(o.abbreviation, o.curX, o.curY);
    }
    m_surface.present();
}

void Simulator::drawofficer(std::string_view txt, float x, float y) {
    m_surface.circle(x + kMarkerCentreDx, y + kMarkerCentreDy, kMarkerRadius);
    m_surface.text(x, y, txt);
}

void Simulator::sleep(double x) {
    const double d = x > 0 ? x : framedelay;  // read now: a speed change applies from here
    const double deadline = m_clock.now() + d;
    // At least one pass of event handling, even at zero delay.
    do {
        m_pump.processEvents(deadline);
    } while (!m_abandoned && m_clock.now() < deadline);
}

}  // namespace velistrad
