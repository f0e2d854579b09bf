// The whole program playing, as users see it: the main window with Qt's
// event loop, its monotonic clock and real drawing of the plan (offscreen
// unless a display is given). Prints how closely a run at Medium keeps its
// ideal time (frame periods and delay seconds) and how much processor the
// program uses while playing and while held.
//
//   velistrad_window_playback [--follow OFFICER] [N...]
//
// N: catalogue entries to play (default 1 4 5 10 11 16); OFFICER: the index
// of an officer to follow.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_window.h"
#include "app/qt_platform.h"
#include "simulations/catalogue.h"

using namespace velistrad;

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto secs = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return secs(usage.ru_utime) + secs(usage.ru_stime);
}

double seconds(const QElapsedTimer& t) {
    return static_cast<double>(t.nsecsElapsed()) * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::vector<int> entries;
    int followed = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--follow" && i + 1 < argc) {
            followed = std::atoi(argv[++i]);
        } else {
            entries.push_back(std::atoi(argv[i]));
        }
    }
    if (entries.empty()) entries = {1, 4, 5, 10, 11, 16};
    setUpDisplayConnection();  // as the program does
    QApplication app(argc, argv);
    QTemporaryDir dir;
    MainWindowSetup setup;
    setup.customFile = dir.filePath(QStringLiteral("custom.sim"));
    MainWindow window(setup);
    window.show();
    // Following an officer adds his ring and route to what each frame repaints.
    if (followed >= 0)
        window.findChild<QAction*>(QStringLiteral("Officer(%1)").arg(followed))->trigger();

    QTimer::singleShot(500, &window, [&] {
        double wall = 0, ideal = 0, cpu = 0;
        for (const int n : entries) {
            window.loadCatalogueEntry(static_cast<std::size_t>(n - 1));
            const double c0 = cpuSeconds();
            QElapsedTimer timer;
            timer.start();
            window.simulator().playOrPause();
            const double took = seconds(timer);
            const double c1 = cpuSeconds();
            const double expected = window.simulator().played()->timeAt(
                window.simulator().played()->size(), window.simulator().frameDelay);
            const CatalogueEntry& e = catalogue().at(static_cast<std::size_t>(n - 1));
            std::printf("play %s / %s: %.3f s, ideal %.3f s, %+.2f %%, processor %.2f %%\n",
                        e.submenu, e.caption, took, expected, 100 * (took - expected) / expected,
                        100 * (c1 - c0) / took);
            wall += took;
            ideal += expected;
            cpu += c1 - c0;
        }
        std::printf("playback_deviation %+.2f %%\n", 100 * (wall - ideal) / ideal);
        std::printf("playing_cpu %.2f %%\n", 100 * cpu / wall);

        // Held for ten seconds in the middle of a run.
        window.loadCatalogueEntry(0);
        double heldCpu = 0;
        QTimer::singleShot(300, &window, [&] {
            window.simulator().playOrPause();  // hold
            const double c0 = cpuSeconds();
            QElapsedTimer held;
            held.start();
            QTimer::singleShot(10000, &window, [&, c0, held] {
                heldCpu = 100 * (cpuSeconds() - c0) / seconds(held);
                window.simulator().playOrPause();  // resume
            });
        });
        window.simulator().playOrPause();
        std::printf("paused_cpu %.3f %%\n", heldCpu);
        window.close();
    });
    return QApplication::exec();
}
