// The sleep lock of a batch through logind: taken with Manager.Inhibit ("sleep:idle", "block"),
// held as long as the returned descriptor is open, released by closing it. Checked against a
// stand-in logind on a private bus that watches its end of the lock's pipe.
#include "app/power.h"

#include "private_bus.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QMutex>
#include <QTest>
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
    TPrivateBus bus;
    if (!bus.Start())
        GTEST_SKIP() << "dbus-daemon is not installed";
    ASSERT_FALSE(bus.address().isEmpty());
    auto* logind = new TFakeLogind; // lives and dies in the service thread
    ASSERT_TRUE(
        bus.Serve(logind, QStringLiteral("/org/freedesktop/login1"), QStringLiteral("org.freedesktop.login1"))
            .isConnected());

    {
        TLogindPower power(bus.Connect(QStringLiteral("power-client")));
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
        // The stand-in's own copy of the descriptor goes with the reply it sent from its thread,
        // which may still be on its way: wait for the last copy to close.
        const QDeadlineTimer deadline(10000);
        while (!logind->released() && !deadline.hasExpired())
            QTest::qWait(10);
        EXPECT_TRUE(logind->released());
        SetPower(nullptr);
    }
}

} // namespace

#include "logind_inhibitor_test.moc"
