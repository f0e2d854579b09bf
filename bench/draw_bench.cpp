// Frames per second of the real drawing of one frame: the plan, 22 officer
// markers with their labels, painted by Qt on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWindow>

#include <random>

#include "app/plan_view.h"
#include "app/qt_platform.h"
#include "app/script_editor.h"
#include "bench/mixed_script.h"
#include "engine/null_platform.h"
#include "engine/played_timeline.h"
#include "engine/simulator.h"
#include "model/chapter_room.h"

namespace {

using namespace velistrad;

// All 22 officers away from their stations, spread over the floor.
void spread(ChapterRoom& room, int shift) {
    for (int i = 0; i < kOfficerCount; ++i) {
        room.officer(i).curX = static_cast<float>(1500 + 180 * i + shift);
        room.officer(i).curY = static_cast<float>(800 + 350 * i);
    }
}

// The window's own plan widget, shown, with a simulator drawing on it.
struct Stage {
    Stage() {
        view.show();
        // Painting only happens once the window system has exposed the window.
        while (view.windowHandle() == nullptr || !view.windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    ChapterRoom room;
    PlanView view{room};
    NullSink sink;
    NullHost host;
    QtClock clock;
    QtEventPump pump{clock};
    Simulator sim{room, sink, host, view, clock, pump};
};

void BM_DrawFrame(benchmark::State& state) {
    Stage stage;
    int i = 0;
    for (auto _ : state) {
        spread(stage.room, (i++ & 1) * 20);
        stage.sim.drawOfficersAway();  // clear, 22 markers, present
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawFrame)->Unit(benchmark::kMicrosecond);

// Dragging the timeline: a seek to a random frame of the 1,001-entry run and
// the repaint of the plan it causes, as the window does for each move.
void BM_SeekAndRepaint1001(benchmark::State& state) {
    Stage stage;
    ChapterRoom compileRoom;
    const auto played = composeScript(compileRoom, mixedScript(1001), stage.sink);
    TimelineCursor cursor(*played, stage.room);
    std::mt19937 random(1001);
    std::uniform_int_distribution<std::size_t> frame(0, played->size());
    for (auto _ : state) {
        cursor.seek(frame(random));
        stage.sim.drawOfficersAway();  // clear, the markers, a repaint of what changed
    }
}
BENCHMARK(BM_SeekAndRepaint1001)->Unit(benchmark::kMillisecond);

// A pasted script of 20,000 entries, one a line, each with a timing word Play
// does not know: the check and the colouring of every field and warning, as
// the editor does a moment after the paste.
void BM_CheckAndColourPaste(benchmark::State& state) {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "Mar, XZ, Soon,\n";
    text += "Mar, XZ, Now";
    ScriptEdit editor;
    editor.setPlainText(QString::fromStdString(text));
    editor.show();
    const ChapterRoom room;
    for (auto _ : state) {
        const CheckResult check = checkScript(room, text);
        editor.setProblems(ScriptEdit::problemSpans(text, fieldMarks(text, check)));
        state.PauseTiming();
        editor.clearMarks();  // so that every pass colours all of them anew
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CheckAndColourPaste)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
