// Kiosk Mode left cycling, as at an open day: the main window with Qt's event
// loop and real drawing (offscreen unless a display is given). Prints the
// resident memory once a minute and, at the end, its growth from the first
// minute's figure to the last; exits 1 when it grew by more than 5 %.
//
//   velistrad_kiosk_soak [MINUTES]   (default 30)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_window.h"

using namespace velistrad;

namespace {

// Resident memory in kB, from /proc/self/status.
long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 30;
    QTemporaryDir dir;
    MainWindowSetup setup;
    setup.customFile = dir.filePath(QStringLiteral("custom.sim"));
    MainWindow window(setup);
    window.show();

    std::vector<long> samples;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        samples.push_back(residentKb());
        std::printf("minute %2zu: %ld kB\n", samples.size(), samples.back());
        std::fflush(stdout);
        if (static_cast<int>(samples.size()) >= minutes) window.toggleKioskMode();  // ends it
    });
    QTimer::singleShot(500, &window, [&] {
        sampler.start(60'000);
        window.toggleKioskMode();  // returns when Kiosk Mode is turned off
        sampler.stop();
        QApplication::quit();
    });
    app.exec();
    if (samples.size() < 2) return 0;
    const double growth = 100.0 * static_cast<double>(samples.back() - samples.front()) /
                          static_cast<double>(samples.front());
    std::printf("growth from minute 1 to minute %zu: %.1f %%\n", samples.size(), growth);
    return growth > 5.0 ? 1 : 0;
}
