#include "app/power.h"

#include "app/paths.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QMetaObject>

#include <unistd.h>

namespace {

class SilentPower final : public IPower {
  public:
    bool Allowed(TPowerAction) override { return false; }
    bool Perform(TPowerAction) override { return false; }
    void EndProgram() override {}
};

SilentPower g_silent;
IPower* g_power = nullptr;

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");

struct LogindMethods {
    const char* check;  // answers "yes", "no", "challenge" or "na"
    const char* action; // takes one boolean: interactive
};

LogindMethods methodsFor(TPowerAction action) {
    switch (action) {
    case TPowerAction::PowerOff:
        return {"CanPowerOff", "PowerOff"};
    case TPowerAction::Reboot:
        return {"CanReboot", "Reboot"};
    case TPowerAction::Hibernate:
        return {"CanHibernate", "Hibernate"};
    case TPowerAction::Suspend:
        return {"CanSuspend", "Suspend"};
    case TPowerAction::EndSession:
        break;
    }
    return {nullptr, nullptr};
}

// The logind session object this process belongs to; empty when there is none.
QString ownSessionPath(const QDBusConnection& bus) {
    QDBusInterface manager(kService, kManagerPath, kManager, bus);
    if (!manager.isValid())
        return {};
    const QDBusReply<QDBusObjectPath> reply =
        manager.call(QStringLiteral("GetSessionByPID"), quint32(getpid()));
    return reply.isValid() ? reply.value().path() : QString();
}

} // namespace

IPower& Power() {
    return g_power ? *g_power : g_silent;
}

void SetPower(IPower* power) {
    g_power = power;
}

bool TLogindPower::Allowed(TPowerAction action) {
    if (action == TPowerAction::EndSession)
        return !ownSessionPath(m_bus).isEmpty();
    QDBusInterface manager(kService, kManagerPath, kManager, m_bus);
    if (!manager.isValid())
        return false;
    const QDBusReply<QString> reply = manager.call(QLatin1String(methodsFor(action).check));
    return reply.isValid() && reply.value() == QLatin1String("yes");
}

bool TLogindPower::Perform(TPowerAction action) {
    if (action == TPowerAction::EndSession) {
        const QString path = ownSessionPath(m_bus);
        if (path.isEmpty())
            return false;
        QDBusInterface session(kService, path, kSession, m_bus);
        return session.isValid() &&
               session.call(QStringLiteral("Terminate")).type() != QDBusMessage::ErrorMessage;
    }
    QDBusInterface manager(kService, kManagerPath, kManager, m_bus);
    if (!manager.isValid())
        return false;
    const QDBusMessage reply = manager.call(QLatin1String(methodsFor(action).action), false);
    return reply.type() != QDBusMessage::ErrorMessage;
}

void TLogindPower::EndProgram() {
    // Queued, so that the caller's handler finishes before the event loop returns.
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                  Qt::QueuedConnection);
}

void TLogindPower::TakeInhibitor(const QString& why) {
    ReleaseInhibitor();
    QDBusInterface manager(kService, kManagerPath, kManager, m_bus);
    if (!manager.isValid())
        return;
    const QDBusReply<QDBusUnixFileDescriptor> reply =
        manager.call(QStringLiteral("Inhibit"), QStringLiteral("sleep:idle"), ApplicationTitle, why,
                     QStringLiteral("block"));
    if (reply.isValid())
        m_inhibitor = reply.value();
}

void TLogindPower::ReleaseInhibitor() {
    // Closing our copy of the descriptor ends the lock.
    m_inhibitor = QDBusUnixFileDescriptor();
}

TPowerInhibitor::TPowerInhibitor(const QString& why) : m_power(Power()) {
    m_power.TakeInhibitor(why);
}

TPowerInhibitor::~TPowerInhibitor() {
    m_power.ReleaseInhibitor();
}
