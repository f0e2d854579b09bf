// How the window answers while it opens a huge script: the time Open takes,
// then, for the given seconds, the longest the event loop left a 10 ms timer
// waiting while the editor checks and marks the script (its own clock).
//
//   velistrad_editor_latency FILE [SECONDS]   (default 5)
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"

using namespace velistrad;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: velistrad_editor_latency FILE [SECONDS]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 5.0;
    QTemporaryDir dir;
    MainWindowSetup setup;
    setup.customFile = dir.filePath(QStringLiteral("custom.sim"));
    MainWindow window(setup);
    window.resize(1280, 720);
    window.show();
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    window.openScriptFile(QString::fromLocal8Bit(argv[1]));
    const qint64 openMs = clock.elapsed();

    qint64 last = clock.elapsed();
    qint64 longest = 0;
    qint64 longestEnded = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (now - last > longest) {
            longest = now - last;
            longestEnded = now;
        }
        last = now;
    });
    tick.start(10);
    QTimer::singleShot(static_cast<int>(seconds * 1000), &app, &QApplication::quit);
    QApplication::exec();
    std::printf(
        "open: %lld ms; longest wait of a 10 ms timer over %.0f s: %lld ms (ended at %.1f s)\n",
        static_cast<long long>(openMs), seconds, static_cast<long long>(longest),
        static_cast<double>(longestEnded) / 1000);
    return 0;
}
