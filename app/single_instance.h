// One window for each custom file: a second start hands the script file it
// was given to the window already running on the same custom.sim and ends.
// Double-clicking two script files then opens both in one window, whose
// list of My Simulations stays the only one.
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace velistrad {

// The name both starts agree on: the user and the custom file's path.
QString instanceKey(const QString& customFile);

// Hands `file` (an absolute path; empty: the window only comes to the front)
// to the window listening on `key`; false when none answered in time.
bool handToRunningWindow(const QString& key, const QString& file, int timeoutMs = 3000);

class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);
    // Listens on `key`, taking the name over: call it only once no window
    // answered on it, under a lock that keeps two starts apart (main.cpp).
    bool listen(const QString& key);

signals:
    void fileHandedOver(const QString& file);

private:
    QLocalServer* m_server;
};

}  // namespace velistrad
