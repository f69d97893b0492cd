// Balloons on a desktop without a tray go to org.freedesktop.Notifications: checked against a
// stand-in service on a private session bus.
#include "ui/main/trayicon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QVariantMap>
#include <gtest/gtest.h>

namespace {

class TFakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
  public:
    QMutex mutex;
    QStringList received; // app, summary, body, timeout

  public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int timeout) {
        const QMutexLocker lock(&mutex);
        received = {app, summary, body, QString::number(timeout)};
        return 1;
    }
};

TEST(DesktopNotifications, ReachTheServiceAndFailWithoutIt) {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed";
    QTemporaryDir dir;
    QProcess bus;
    bus.start(daemon,
              {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
               QStringLiteral("--address=unix:dir=") + dir.path()});
    ASSERT_TRUE(bus.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    QDBusConnection client = QDBusConnection::connectToBus(address, QStringLiteral("notify-client"));
    ASSERT_TRUE(client.isConnected());

    QThread serviceThread;
    serviceThread.start();
    auto* service = new TFakeNotifications; // lives and dies in the service thread
    service->moveToThread(&serviceThread);
    QObject::connect(&serviceThread, &QThread::finished, service, &QObject::deleteLater);
    QDBusConnection serviceBus = QDBusConnection::connectToBus(address, QStringLiteral("fake-notifications"));
    ASSERT_TRUE(serviceBus.isConnected());
    ASSERT_TRUE(serviceBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), service,
                                          QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(serviceBus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    EXPECT_TRUE(NotifyDesktop(QStringLiteral("Varid Video Converter Information"),
                              QStringLiteral("Convertion complete!"), client));
    {
        const QMutexLocker lock(&service->mutex);
        EXPECT_EQ(service->received,
                  (QStringList{QStringLiteral("Varid Video Converter"),
                               QStringLiteral("Varid Video Converter Information"),
                               QStringLiteral("Convertion complete!"), QStringLiteral("10000")}));
    }

    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    EXPECT_FALSE(NotifyDesktop(QStringLiteral("title"), QStringLiteral("text"), client));

    serviceBus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-notifications"));
    QDBusConnection::disconnectFromBus(QStringLiteral("notify-client"));
    serviceThread.quit();
    serviceThread.wait();
    bus.kill();
    bus.waitForFinished();
}

} // namespace

#include "desktop_notify_test.moc"
