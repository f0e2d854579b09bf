// How long Play spends before the first frame: splitting, compiling and
// composing a script. Each iteration starts from a fresh room, as the first
// run after start-up does.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include <random>
#include <vector>

#include "bench/mixed_script.h"
#include "engine/null_platform.h"
#include "engine/played_timeline.h"
#include "engine/script_check.h"
#include "engine/script_runner.h"
#include "model/chapter_room.h"
#include "simulations/catalogue.h"

namespace {

using namespace velistrad;

// Returns the number of frames, or 0 when the script failed to compile.
std::size_t compose(const std::string& text) {
    ChapterRoom room;
    NullSink sink;
    const auto played = composeScript(room, text, sink);
    return played ? played->size() : 0;
}

// Composes text once per iteration and reports its frame count.
void composeEach(benchmark::State& state, const std::string& text, const char* failure) {
    std::size_t frames = 0;
    for (auto _ : state) {
        frames = compose(text);
        benchmark::DoNotOptimize(frames);
    }
    if (frames == 0) state.SkipWithError(failure);
    state.counters["frames"] = static_cast<double>(frames);
}

void BM_Compose1001(benchmark::State& state) {
    composeEach(state, mixedScript(1001), "the generated script does not compile");
}
BENCHMARK(BM_Compose1001)->Unit(benchmark::kMillisecond);

// What the editor does a moment after each keystroke: check the whole script
// as Play would and lay out the marks of every field.
void BM_Check1001(benchmark::State& state) {
    const std::string text = mixedScript(1001);
    const ChapterRoom room;
    std::size_t marks = 0;
    for (auto _ : state) {
        const CheckResult check = checkScript(room, text);
        marks = fieldMarks(text, check).size();
        benchmark::DoNotOptimize(marks);
    }
    // A label, not a counter: the CSV report wants the same counters in every run.
    state.SetLabel(std::to_string(marks) + " marks");
}
BENCHMARK(BM_Check1001)->Unit(benchmark::kMillisecond);

void BM_CatalogueEach(benchmark::State& state) {
    const CatalogueEntry& entry = catalogue()[static_cast<std::size_t>(state.range(0))];
    composeEach(state, entry.script, "a catalogue script does not compile");
    state.SetLabel(std::string(entry.submenu) + " / " + entry.caption);
}
BENCHMARK(BM_CatalogueEach)
    ->DenseRange(0, static_cast<int>(kCatalogueSize) - 1)
    ->Unit(benchmark::kMicrosecond);

void BM_CatalogueAll(benchmark::State& state) {
    std::size_t frames = 0;
    for (auto _ : state) {
        frames = 0;
        for (const CatalogueEntry& entry : catalogue()) frames += compose(entry.script);
        benchmark::DoNotOptimize(frames);
    }
    state.counters["frames"] = static_cast<double>(frames);
}
BENCHMARK(BM_CatalogueAll)->Unit(benchmark::kMillisecond);

// Where everyone stands at a random frame of the 1,001-entry timeline,
// without replaying from the start.
void BM_Seek1001(benchmark::State& state) {
    ChapterRoom compileRoom;
    NullSink sink;
    const auto played = composeScript(compileRoom, mixedScript(1001), sink);
    ChapterRoom room;
    TimelineCursor cursor(*played, room);
    std::mt19937 random(1001);
    std::uniform_int_distribution<std::size_t> frame(0, played->size());
    for (auto _ : state) {
        cursor.seek(frame(random));
        benchmark::DoNotOptimize(room.officer(0).curX);
    }
}
BENCHMARK(BM_Seek1001)->Unit(benchmark::kMicrosecond);

// The slowest seek: the most frames between two snapshots, each frame of
// all 22 officers.
void BM_SeekWorst(benchmark::State& state) {
    std::string text = "ALL,-AT-X-,Now";
    for (int i = 0; i < 400; ++i) text += i % 2 ? ",ALL,-AT-Z-,After" : ",ALL,-AT-X-,After";
    ChapterRoom compileRoom;
    NullSink sink;
    const auto played = composeScript(compileRoom, text, sink);
    ChapterRoom room;
    TimelineCursor cursor(*played, room);
    for (auto _ : state) {
        cursor.seek(255);  // 127 frames after the snapshot before frame 128
        benchmark::DoNotOptimize(room.officer(0).curX);
    }
}
BENCHMARK(BM_SeekWorst)->Unit(benchmark::kMicrosecond);

}  // namespace
