// Frames per second of the real drawing of one frame: the plan, 22 officer
// markers with their labels, painted by Qt on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWindow>

#include "app/qt_platform.h"
#include "engine/null_platform.h"
#include "engine/simulator.h"
#include "model/chapter_room.h"

namespace {

using namespace velistrad;

// All 22 officers away from their stations, spread over the floor.
std::string fullFrame(int shift) {
    std::string frame;
    for (int i = 0; i < kOfficerCount; ++i) {
        if (!frame.empty()) frame += ',';
        frame += std::to_string(i) + ',' + std::to_string(1500 + 180 * i + shift) + ',' +
                 std::to_string(800 + 350 * i);
    }
    return frame;
}

void BM_DrawFrame(benchmark::State& state) {
    ChapterRoom room;
    PlanView view(room);
    view.show();
    // Painting only happens once the window system has exposed the window.
    while (view.windowHandle() == nullptr || !view.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    NullReporter reporter;
    NullHost host;
    QtClock clock;
    QtEventPump pump(clock);
    Simulator sim(room, reporter, host, view, clock, pump);
    const std::string frames[2] = {fullFrame(0), fullFrame(20)};
    int i = 0;
    for (auto _ : state) sim.runsim(frames[i++ & 1]);  // clear, 22 markers, present
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
