// Headless playback with the real clock: how closely the waits keep time and
// how much processor a playing or paused run uses. Drawing goes nowhere, so
// this measures the engine's own timing, not Qt's painting.
//
// Prints one "name value unit" line per figure, for scripts/bench.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "engine/null_platform.h"
#include "engine/simulator.h"
#include "model/number_text.h"
#include "simulations/catalogue.h"

using namespace velistrad;

namespace {

struct SteadyClock : Clock {
    double now() override {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    }
};

// Sleeps until the deadline, firing at most one scheduled callback when its
// time has come, as a window event would arrive.
struct SleepingPump : EventPump {
    explicit SleepingPump(Clock& c) : clock(c) {}
    void processEvents(double deadline) override {
        const double now = clock.now();
        if (callback && now >= callbackAt) {
            auto fire = std::move(callback);
            callback = nullptr;
            fire();
            return;
        }
        double until = deadline;
        if (callback && callbackAt < until) until = callbackAt;
        if (std::isfinite(until) && until > now) {
            std::this_thread::sleep_for(std::chrono::duration<double>(until - now));
        }
    }
    Clock& clock;
    std::function<void()> callback;
    double callbackAt = 0;
};

struct Host : RunHost {
    std::string script;
    std::string scriptText() override { return script; }
    void setScriptText(const std::string& text) override { script = text; }
    void picturesExchanged() override {}
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto secs = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return secs(usage.ru_utime) + secs(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    // Short catalogue movements by default; pass entry numbers to choose others.
    std::vector<int> entries{1, 4, 5, 10, 11};
    if (argc > 1) {
        entries.clear();
        for (int i = 1; i < argc; ++i) entries.push_back(std::atoi(argv[i]));
    }

    ChapterRoom room;
    NullSink sink;
    NullSurface surface;
    SteadyClock clock;
    SleepingPump pump(clock);
    Host host;
    Simulator sim(room, sink, host, surface, clock, pump);
    sim.Speed_Click(3);  // Medium

    double wall = 0;
    double ideal = 0;
    double cpu = 0;
    for (const int n : entries) {
        const CatalogueEntry& entry = catalogue().at(static_cast<std::size_t>(n - 1));
        host.script = entry.script;
        // Frame periods and delay seconds a perfect player would wait.
        ChapterRoom scratch;
        const auto composed = composeScript(scratch, host.script, sink);
        const double expected = composed->timeAt(composed->size(), sim.framedelay);

        const double c0 = cpuSeconds();
        const double t0 = clock.now();
        sim.Simulate_Click();
        const double t1 = clock.now();
        const double c1 = cpuSeconds();
        std::printf("play_%s_%s %.3f s (ideal %.3f s)\n", entry.submenu, entry.caption, t1 - t0,
                    expected);
        wall += t1 - t0;
        ideal += expected;
        cpu += c1 - c0;
    }
    std::printf("playback_wall %.3f s\n", wall);
    std::printf("playback_ideal %.3f s\n", ideal);
    std::printf("playback_deviation %.2f %%\n", 100.0 * (wall - ideal) / ideal);
    std::printf("playing_cpu %.2f %%\n", 100.0 * cpu / wall);

    // Paused for ten seconds in the middle of a run, then resumed to the end;
    // while paused, playback itself polls the pause flag.
    host.script = catalogue().at(0).script;
    double pauseCpu = 0;
    double pauseWall = 0;
    pump.callbackAt = clock.now() + 0.2;
    pump.callback = [&] {
        sim.Simulate_Click();  // pause
        pauseCpu = cpuSeconds();
        pauseWall = clock.now();
        pump.callbackAt = pauseWall + 10.0;
        pump.callback = [&] {
            pauseCpu = cpuSeconds() - pauseCpu;
            pauseWall = clock.now() - pauseWall;
            sim.Simulate_Click();  // resume
        };
    };
    sim.Simulate_Click();
    const double pausedCpu = pauseCpu;
    const double pausedWall = pauseWall;
    std::printf("paused_cpu %.3f %%\n", 100.0 * pausedCpu / pausedWall);
    return 0;
}
