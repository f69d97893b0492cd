// What the program asks of logind, checked against a stand-in logind on a private bus: the power
// actions (asked first, carried out never interactively, the session ended through its own
// object), and the sleep lock of a batch: taken with Manager.Inhibit ("sleep:idle", "block"),
// held as long as the returned descriptor is open, released by closing it (the stand-in watches
// its end of the lock's pipe).
#include "app/power.h"

#include "private_bus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QHash>
#include <QMutex>
#include <QTest>
#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

namespace {

const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/_3");

// The session object of the caller's session.
class TFakeSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
  public:
    explicit TFakeSession(QStringList& calls, QMutex& mutex, QObject* parent)
        : QObject(parent), m_calls(calls), m_mutex(mutex) {}
  public slots:
    void Terminate() {
        const QMutexLocker lock(&m_mutex);
        m_calls << QStringLiteral("Session.Terminate");
    }

  private:
    QStringList& m_calls;
    QMutex& m_mutex;
};

class TFakeLogind : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
  public:
    QMutex mutex;
    QStringList request;             // what, who, why, mode
    int lockEnd = -1;                // the read end of the pipe whose write end the caller holds
    QHash<QString, QString> answers; // CanPowerOff ... CanSuspend: "yes", "no", "challenge", "na"
    QStringList refused;             // actions answered with an error
    bool hasSession = true;          // whether the caller belongs to a session
    QStringList calls;               // the actions and session calls, in order
    TFakeSession* session = new TFakeSession(calls, mutex, this);

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
    QString CanPowerOff() { return answer(QStringLiteral("CanPowerOff")); }
    QString CanReboot() { return answer(QStringLiteral("CanReboot")); }
    QString CanHibernate() { return answer(QStringLiteral("CanHibernate")); }
    QString CanSuspend() { return answer(QStringLiteral("CanSuspend")); }
    void PowerOff(bool interactive) { act(QStringLiteral("PowerOff"), interactive); }
    void Reboot(bool interactive) { act(QStringLiteral("Reboot"), interactive); }
    void Hibernate(bool interactive) { act(QStringLiteral("Hibernate"), interactive); }
    void Suspend(bool interactive) { act(QStringLiteral("Suspend"), interactive); }
    QDBusObjectPath GetSessionByPID(uint pid) {
        const QMutexLocker lock(&mutex);
        calls << QStringLiteral("GetSessionByPID(%1)").arg(pid);
        if (hasSession)
            return QDBusObjectPath(kSessionPath);
        sendErrorReply(QStringLiteral("org.freedesktop.login1.NoSessionForPID"),
                       QStringLiteral("no session"));
        return {};
    }
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

  private:
    QString answer(const QString& question) {
        const QMutexLocker lock(&mutex);
        return answers.value(question, QStringLiteral("na"));
    }
    void act(const QString& action, bool interactive) {
        const QMutexLocker lock(&mutex);
        calls << action + (interactive ? QStringLiteral("(interactive)") : QString());
        if (refused.contains(action))
            sendErrorReply(QStringLiteral("org.freedesktop.login1.OperationInProgress"), action);
    }
};

// Serves a stand-in logind (with its session object) on the bus; null when that fails.
TFakeLogind* ServeLogind(TPrivateBus& bus) {
    auto* logind = new TFakeLogind; // lives and dies in the service thread
    QDBusConnection connection = bus.Serve(logind, QStringLiteral("/org/freedesktop/login1"),
                                           QStringLiteral("org.freedesktop.login1"));
    if (!connection.isConnected() ||
        !connection.registerObject(kSessionPath, logind->session, QDBusConnection::ExportAllSlots))
        return nullptr;
    return logind;
}

TEST(LogindPower, ActionsAreAskedOfLogindAndCarriedOutWithoutAsking) {
    TPrivateBus bus;
    ASSERT_TRUE(bus.Start()) << "dbus-daemon is not installed";
    ASSERT_FALSE(bus.address().isEmpty());
    TFakeLogind* logind = ServeLogind(bus);
    ASSERT_NE(logind, nullptr);
    {
        const QMutexLocker lock(&logind->mutex);
        logind->answers = {{QStringLiteral("CanPowerOff"), QStringLiteral("yes")},
                           {QStringLiteral("CanReboot"), QStringLiteral("challenge")},
                           {QStringLiteral("CanHibernate"), QStringLiteral("no")},
                           {QStringLiteral("CanSuspend"), QStringLiteral("yes")}};
        logind->refused = {QStringLiteral("Hibernate")};
    }
    TLogindPower power(bus.Connect(QStringLiteral("power-client")));
    const QString session = QStringLiteral("GetSessionByPID(%1)").arg(getpid());

    // Only "yes" allows an action; ending the session needs a session of this process.
    const std::pair<TPowerAction, bool> allowed[] = {{TPowerAction::PowerOff, true},
                                                     {TPowerAction::Reboot, false},
                                                     {TPowerAction::Hibernate, false},
                                                     {TPowerAction::Suspend, true},
                                                     {TPowerAction::EndSession, true}};
    for (const auto& [action, expected] : allowed)
        EXPECT_EQ(power.Allowed(action), expected) << static_cast<int>(action);

    // Each action is logind's method of its name, never interactive; a refusal is a failure.
    EXPECT_TRUE(power.Perform(TPowerAction::PowerOff));
    EXPECT_TRUE(power.Perform(TPowerAction::Suspend));
    EXPECT_TRUE(power.Perform(TPowerAction::Reboot));
    EXPECT_FALSE(power.Perform(TPowerAction::Hibernate));
    EXPECT_TRUE(power.Perform(TPowerAction::EndSession));
    {
        const QMutexLocker lock(&logind->mutex);
        EXPECT_EQ(logind->calls, (QStringList{session, QStringLiteral("PowerOff"), QStringLiteral("Suspend"),
                                              QStringLiteral("Reboot"), QStringLiteral("Hibernate"), session,
                                              QStringLiteral("Session.Terminate")}));
        logind->calls.clear();
        logind->hasSession = false;
    }

    // Without a session there is none to end.
    EXPECT_FALSE(power.Allowed(TPowerAction::EndSession));
    EXPECT_FALSE(power.Perform(TPowerAction::EndSession));
    const QMutexLocker lock(&logind->mutex);
    EXPECT_EQ(logind->calls, (QStringList{session, session}));
}

TEST(LogindInhibitor, TakenAndReleasedThroughTheDescriptor) {
    TPrivateBus bus;
    if (!bus.Start())
        GTEST_SKIP() << "dbus-daemon is not installed";
    ASSERT_FALSE(bus.address().isEmpty());
    TFakeLogind* logind = ServeLogind(bus);
    ASSERT_NE(logind, nullptr);

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
