// The sleep lock of a batch through logind: taken with Manager.Inhibit ("sleep:idle", "block"),
// held as long as the returned descriptor is open, released by closing it. Checked against a
// stand-in logind on a private bus that watches its end of the lock's pipe.
#include "app/power.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

namespace {

class TFakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
  public:
    QMutex mutex;
    QStringList request; // what, who, why, mode
    int lockEnd = -1;    // the read end of the pipe whose write end the caller holds

    ~TFakeLogind() override {
        if (lockEnd >= 0)
            close(lockEnd);
    }
    // Whether every copy of the caller's end is closed.
    bool released() {
        const QMutexLocker lock(&mutex);
        pollfd p{lockEnd, POLLIN, 0};
        return poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
    }

  public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        const QMutexLocker lock(&mutex);
        request = {what, who, why, mode};
        int ends[2];
        if (pipe(ends) != 0)
            return {};
        lockEnd = ends[0];
        QDBusUnixFileDescriptor handed(ends[1]); // keeps its own copy
        close(ends[1]);
        return handed;
    }
};

TEST(LogindInhibitor, TakenAndReleasedThroughTheDescriptor) {
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

    QThread serviceThread;
    serviceThread.start();
    auto* logind = new TFakeLogind; // lives and dies in the service thread
    logind->moveToThread(&serviceThread);
    QObject::connect(&serviceThread, &QThread::finished, logind, &QObject::deleteLater);
    QDBusConnection serviceBus = QDBusConnection::connectToBus(address, QStringLiteral("fake-logind"));
    ASSERT_TRUE(serviceBus.registerObject(QStringLiteral("/org/freedesktop/login1"), logind,
                                          QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(serviceBus.registerService(QStringLiteral("org.freedesktop.login1")));

    {
        TLogindPower power(QDBusConnection::connectToBus(address, QStringLiteral("power-client")));
        {
            TPowerInhibitor held(QStringLiteral("Converting 3 files"));
            // Not installed: the process-wide power is the silent one, and nothing is taken.
        }
        SetPower(&power);
        {
            TPowerInhibitor held(QStringLiteral("Converting 3 files"));
            {
                const QMutexLocker lock(&logind->mutex);
                EXPECT_EQ(logind->request,
                          (QStringList{QStringLiteral("sleep:idle"), QStringLiteral("Varid Video Converter"),
                                       QStringLiteral("Converting 3 files"), QStringLiteral("block")}));
                ASSERT_GE(logind->lockEnd, 0);
            }
            EXPECT_FALSE(logind->released());
        }
        EXPECT_TRUE(logind->released());
        SetPower(nullptr);
    }

    QDBusConnection::disconnectFromBus(QStringLiteral("power-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind"));
    serviceThread.quit();
    serviceThread.wait();
    bus.kill();
    bus.waitForFinished();
}

} // namespace

#include "logind_inhibitor_test.moc"
