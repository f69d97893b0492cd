// Balloons on a desktop without a tray go to org.freedesktop.Notifications: checked against a
// stand-in service on a private session bus.
#include "ui/main/trayicon.h"

#include "private_bus.h"

#include <QDBusConnection>
#include <QMutex>
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
    TPrivateBus bus;
    if (!bus.Start())
        GTEST_SKIP() << "dbus-daemon is not installed";
    ASSERT_FALSE(bus.address().isEmpty());
    QDBusConnection client = bus.Connect(QStringLiteral("notify-client"));
    ASSERT_TRUE(client.isConnected());
    auto* service = new TFakeNotifications; // lives and dies in the service thread
    QDBusConnection serviceBus = bus.Serve(service, QStringLiteral("/org/freedesktop/Notifications"),
                                           QStringLiteral("org.freedesktop.Notifications"));
    ASSERT_TRUE(serviceBus.isConnected());

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
}

} // namespace

#include "desktop_notify_test.moc"
