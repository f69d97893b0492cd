#pragma once
// A private session bus (its own dbus-daemon) with a stand-in service living in a thread of its
// own, for tests of what the program asks of desktop services. Everything it started is ended when
// it goes.
#include <QDBusConnection>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

class TPrivateBus {
  public:
    ~TPrivateBus() {
        for (const QString& name : m_connections)
            QDBusConnection::disconnectFromBus(name);
        m_serviceThread.quit();
        m_serviceThread.wait();
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    // False when dbus-daemon is not installed; otherwise address() is the bus to use (empty when
    // the daemon did not come up).
    bool Start() {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return false;
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1"),
                                QStringLiteral("--address=unix:dir=") + m_dir.path()});
        if (m_daemon.waitForReadyRead(10000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_serviceThread.start();
        return true;
    }
    const QString& address() const { return m_address; }

    // A named connection to the bus, closed with the bus.
    QDBusConnection Connect(const QString& name) {
        m_connections << name;
        return QDBusConnection::connectToBus(m_address, name);
    }
    // Moves service into the service thread (it is deleted there when the bus goes), exports its
    // slots at path and takes the well-known name. The service's connection is returned; it is
    // not connected when registering failed.
    QDBusConnection Serve(QObject* service, const QString& path, const QString& wellKnownName) {
        service->moveToThread(&m_serviceThread);
        QObject::connect(&m_serviceThread, &QThread::finished, service, &QObject::deleteLater);
        QDBusConnection connection = Connect(QStringLiteral("service-") + wellKnownName);
        if (!connection.registerObject(path, service, QDBusConnection::ExportAllSlots) ||
            !connection.registerService(wellKnownName))
            QDBusConnection::disconnectFromBus(connection.name());
        return connection;
    }

  private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QThread m_serviceThread;
    QStringList m_connections;
};
