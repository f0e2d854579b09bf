#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace velistrad {

namespace {

// A path longer than this is no path a start would send.
constexpr qint64 kLongestMessage = 64 * 1024;

}  // namespace

QString instanceKey(const QString& customFile) {
    const QByteArray path = QFileInfo(customFile).absoluteFilePath().toUtf8();
    const QByteArray hash = QCryptographicHash::hash(path, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("velistrad-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.left(16)));
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
    if (m_server->listen(key)) return true;
    QLocalServer::removeServer(key);  // no window answered on it
    return m_server->listen(key);
}

}  // namespace velistrad
