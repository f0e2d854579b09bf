// velistrad: the desktop simulator. Everything but the command line lives in
// the velistrad_app library.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLockFile>
#include <QScreen>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTimer>

#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/single_instance.h"
#include "engine/simulator.h"
#include "model/chapter_room.h"
#include "render/plan_picture.h"
#include "simulations/catalogue.h"
#include "simulations/custom_location.h"

int main(int argc, char* argv[]) {
    // Commands that show no window must work without a display too.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if ((arg.startsWith("--export-plan") || arg == "--help" || arg == "-h" ||
             arg == "--version" || arg == "-v") &&
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    velistrad::setUpDisplayConnection();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velistrad"));
    QApplication::setApplicationVersion(QStringLiteral("1.3"));
    // Lets the desktop match the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velistrad.Simulator"));
    // Fusion honours the speed buttons' palette colour on every platform.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Velistrad Simulator"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption customFile(
        QStringLiteral("custom-file"),
        QStringLiteral("Keep custom simulations in <path> instead of custom.sim beside the program "
                       "(or in the user's data folder when the program's folder is read-only)."),
        QStringLiteral("path"));
    const QCommandLineOption exportPlan(
        QStringLiteral("export-plan"),
        QStringLiteral(
            "Write the plan of the Chapter room as a 482 x 696 JPEG to <file> and exit."),
        QStringLiteral("file"));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Load built-in simulation <n> (1 to 23, in menu order) and play it; "
                       "for screenshots and demonstrations."),
        QStringLiteral("n"));
    const QCommandLineOption reference(QStringLiteral("show-reference"),
                                       QStringLiteral("Open the Programming Reference at start."));
    const QCommandLineOption quitAfter(
        QStringLiteral("quit-after"),
        QStringLiteral("Close the window after <seconds>, as Quit would; for measuring "
                       "start-up time and memory."),
        QStringLiteral("seconds"));
    parser.addOptions({customFile, exportPlan, demo, reference, quitAfter});
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A script file (.vsim) to open in the editor."),
                                 QStringLiteral("[file]"));
    parser.process(app);

    if (parser.isSet(exportPlan)) {
        const velistrad::ChapterRoom room;
        const QString path = parser.value(exportPlan);
        if (velistrad::renderPlan(room, 1.0).save(path, "JPEG", 90)) return 0;
        qCritical("Could not write %s", qPrintable(QDir::toNativeSeparators(path)));
        return 1;
    }

    velistrad::CustomFilePlaces places;
    if (parser.isSet(customFile))
        places.commandLine = QFile::encodeName(parser.value(customFile)).toStdString();
    places.programFolder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    places.programFolderWritable = velistrad::folderWritable(places.programFolder);
    places.userFolder =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .toStdString();
    const velistrad::CustomFileChoice chosen = velistrad::chooseCustomFile(places);
    if (!chosen.problem.empty()) qWarning("My Simulations start empty: %s", chosen.problem.c_str());

    velistrad::MainWindowSetup setup;
    setup.customFile = QFile::decodeName(chosen.path.c_str());
    // A plain start (a file at most) joins the window already open on the
    // same custom file: two windows would keep two lists of My Simulations.
    const QString key = velistrad::instanceKey(setup.customFile);
    const QString file =
        parser.positionalArguments().isEmpty()
            ? QString()
            : QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
    const bool ownWindow = parser.isSet(demo) || parser.isSet(quitAfter) || parser.isSet(reference);
    // Of two starts at once, one listens and the other, after it, hands over:
    // the lock keeps them apart; connections wait for the event loop.
    velistrad::InstanceServer instances;
    if (!ownWindow) {
        QLockFile starting(key + QStringLiteral(".lock"));
        starting.tryLock(10'000);
        if (velistrad::handToRunningWindow(key, file)) return 0;
        instances.listen(key);
    }

    velistrad::MainWindow window(setup);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.fitToScreen(screen->availableGeometry());
    window.show();
    if (!file.isEmpty()) window.openScriptFile(file);
    QObject::connect(&instances, &velistrad::InstanceServer::fileHandedOver, &window,
                     [&window](const QString& handed) {
                         window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
                         window.raise();
                         window.activateWindow();
                         if (!handed.isEmpty()) window.openScriptFile(handed);
                     });

    if (parser.isSet(reference)) window.showProgrammingReference();
    const int entry = parser.value(demo).toInt();
    if (entry >= 1 && entry <= static_cast<int>(velistrad::kCatalogueSize)) {
        // Played from inside the event loop, as a menu choice and a Play press would be.
        QTimer::singleShot(300, &window, [&window, entry] {
            window.loadCatalogueEntry(static_cast<std::size_t>(entry - 1));
            window.simulator().playOrPause();
        });
    }
    if (parser.isSet(quitAfter)) {
        const int ms = static_cast<int>(parser.value(quitAfter).toDouble() * 1000);
        QTimer::singleShot(ms, &window, &QWidget::close);
    }
    return QApplication::exec();
}
