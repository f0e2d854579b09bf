// The animation of the longest built-in simulation at Medium, as File >
// Export > Animation and velistrad-cli render --gif write it: the time to
// encode it and its size.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <memory>
#include <string>

#include "engine/null_platform.h"
#include "engine/script_runner.h"
#include "engine/simulator.h"
#include "mixed_script.h"
#include "render/animation_export.h"
#include "render/image_export.h"
#include "render/sheet_export.h"
#include "simulations/catalogue.h"

namespace {

using namespace velistrad;

// The catalogue script with the most frames.
ExportRun longestRun() {
    ExportRun longest;
    for (const CatalogueEntry& entry : catalogue()) {
        ChapterRoom room;
        NullSink sink;
        auto played = composeScript(room, entry.script, sink);
        if (played && (!longest.played || played->size() > longest.played->size())) {
            longest.played = played;
            longest.script = entry.script;
            longest.name = std::string(entry.submenu) + " > " + entry.caption;
        }
    }
    longest.shown = longest.played->size();
    return longest;
}

void gifOf(benchmark::State& state, TrailOptions options) {
    ExportRun run = longestRun();
    run.options = options;
    const ExportScene scene(run);
    MarkerPainter markers;
    const double medium = speedFrameDelay(3);
    std::string error;
    QByteArray gif = encodeGif(scene, medium, markers, {}, error);  // the palette is made once
    for (auto _ : state) {
        gif = encodeGif(scene, medium, markers, {}, error);
        benchmark::DoNotOptimize(gif.data());
    }
    if (!error.empty()) state.SkipWithError(error.c_str());
    state.counters["bytes"] = static_cast<double>(gif.size());
    state.counters["frames"] = static_cast<double>(run.played->size());
    state.SetLabel(run.name);
}

void BM_GifLongestMedium(benchmark::State& state) {
    gifOf(state, {});
}
BENCHMARK(BM_GifLongestMedium)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same with one officer followed and every route drawn.
void BM_GifLongestMediumRoutes(benchmark::State& state) {
    gifOf(state, {0, true});
}
BENCHMARK(BM_GifLongestMediumRoutes)->Unit(benchmark::kMillisecond)->Iterations(3);

// 300 entries of the mixed script, its officers walking the same lines
// again and again: following one must cost about as much as following none
// (a route redrawn whole at every picture made it quadratic).
void gifOfMixed(benchmark::State& state, TrailOptions options) {
    ExportRun run;
    run.script = mixedScript(300);
    ChapterRoom room;
    NullSink sink;
    run.played = composeScript(room, run.script, sink);
    run.shown = run.played->size();
    run.options = options;
    const ExportScene scene(run);
    MarkerPainter markers;
    std::string error;
    for (auto _ : state) {
        const QByteArray gif = encodeGif(scene, speedFrameDelay(3), markers, {}, error);
        benchmark::DoNotOptimize(gif.data());
    }
    if (!error.empty()) state.SkipWithError(error.c_str());
    state.counters["frames"] = static_cast<double>(run.played->size());
}
void BM_GifMixed300(benchmark::State& state) {
    gifOfMixed(state, {});
}
BENCHMARK(BM_GifMixed300)->Unit(benchmark::kMillisecond)->Iterations(2);
void BM_GifMixed300FollowingSD(benchmark::State& state) {
    gifOfMixed(state, {ChapterRoom().findOfficer("SD"), false});
}
BENCHMARK(BM_GifMixed300FollowingSD)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
