// A second start hands its file to the window already open on the same
// custom file: here the two starts are a thread and the test's event loop.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentRun>

#include "app/single_instance.h"

namespace velistrad {
namespace {

TEST(SingleInstance, ASecondStartHandsItsFileToTheRunningWindow) {
    QTemporaryDir dir;
    const QString key = instanceKey(dir.filePath(QStringLiteral("custom.sim")));
    EXPECT_NE(key, instanceKey(dir.filePath(QStringLiteral("other.sim"))));
    // No window yet: the start opens its own.
    EXPECT_FALSE(handToRunningWindow(key, QStringLiteral("/a.vsim"), 200));

    InstanceServer server;
    ASSERT_TRUE(server.listen(key));
    QStringList handed;
    QObject::connect(&server, &InstanceServer::fileHandedOver,
                     [&handed](const QString& file) { handed << file; });
    for (const QString& file : {QStringLiteral("/home/x/marshal walk.vsim"), QString(),
                                QStringLiteral("/tmp/\u00E9t\u00E9.vsim")}) {
        QFuture<bool> start = QtConcurrent::run(handToRunningWindow, key, file, 3000);
        while (!start.isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(start.result()) << file.toStdString();
    }
    EXPECT_EQ(handed, (QStringList{QStringLiteral("/home/x/marshal walk.vsim"), QString(),
                                   QStringLiteral("/tmp/\u00E9t\u00E9.vsim")}));
}

TEST(SingleInstance, AWindowTakesOverTheNameACrashedOneLeft) {
    QTemporaryDir dir;
    const QString key = instanceKey(dir.filePath(QStringLiteral("custom.sim")));
    // A window that crashed leaves its name behind, a file no one listens on.
    QFile stale(key);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_FALSE(handToRunningWindow(key, QString(), 200));
    InstanceServer server;
    ASSERT_TRUE(server.listen(key));
    bool shown = false;
    QObject::connect(&server, &InstanceServer::fileHandedOver, [&shown] { shown = true; });
    QFuture<bool> start = QtConcurrent::run(handToRunningWindow, key, QString(), 3000);
    while (!start.isFinished()) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(start.result());
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace velistrad
