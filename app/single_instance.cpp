#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace velistrad {

namespace {

// A path longer than this is no path a start would send.
constexpr qint64 kLongestMessage = 64 * 1024;

}  // namespace

QString instanceKey(const QString& customFile) {
    const QByteArray path = QFileInfo(customFile).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex();
    const QString name =
        QStringLiteral("velistrad-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.left(16)));
    // In the user's own runtime folder (mode 0700), where no one else can
    // put a socket of that name first; the temporary folder where there is none.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

bool handToRunningWindow(const QString& key, const QString& file, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(key);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(file.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The window answers once it has the file, so this start may end.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.readLine() == "ok\n";
}

InstanceServer::InstanceServer(QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->bytesAvailable() > kLongestMessage) {
                    socket->abort();
                    return;
                }
                if (!socket->canReadLine()) return;
                const QString file = QString::fromUtf8(socket->readLine()).chopped(1);
                socket->write("ok\n");
                socket->flush();
                socket->disconnectFromServer();
                emit fileHandedOver(file);
            });
        }
    });
}

bool InstanceServer::listen(const QString& key) {
    QLocalServer::removeServer(key);  // left behind by a window that is gone
    return m_server->listen(key);
}

}  // namespace velistrad
