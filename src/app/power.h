#pragma once
// Ending the program and the machine's power actions, behind an interface: the program installs
// the systemd-logind implementation, tests a scripted one. Until one is installed nothing
// happens, so no code path can power off the machine by accident.
#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QString>

enum class TPowerAction { PowerOff, EndSession, Reboot, Hibernate, Suspend };

class IPower {
  public:
    virtual ~IPower() = default;
    // Whether the system allows the action now (logind answers "yes").
    virtual bool Allowed(TPowerAction action) = 0;
    // Asks the system to carry the action out; whether the request was accepted.
    virtual bool Perform(TPowerAction action) = 0;
    // Ends this program normally (its event loop returns).
    virtual void EndProgram() = 0;
    // Holds off sleep and idle suspend while a long job runs (why: shown by the desktop), until
    // ReleaseInhibitor. Taking it again replaces the earlier hold. Failing to take it is silent.
    virtual void TakeInhibitor(const QString& why) { Q_UNUSED(why) }
    virtual void ReleaseInhibitor() {}
};

// Holds the power implementation's inhibitor for its lifetime.
class TPowerInhibitor {
  public:
    explicit TPowerInhibitor(const QString& why);
    ~TPowerInhibitor();
    TPowerInhibitor(const TPowerInhibitor&) = delete;
    TPowerInhibitor& operator=(const TPowerInhibitor&) = delete;

  private:
    IPower& m_power;
};

// The process-wide implementation (a silent one until SetPower is called).
IPower& Power();
// Installs an implementation (not owned; nullptr puts the silent one back).
void SetPower(IPower* power);

// Power actions through systemd-logind on the system bus (org.freedesktop.login1): CanPowerOff,
// CanReboot, CanHibernate and CanSuspend must answer "yes"; the session is ended through the
// session object of this process. EndProgram quits the Qt event loop. The inhibitor is a
// "block" lock on "sleep:idle" from Manager.Inhibit, held as long as its descriptor stays open.
class TLogindPower final : public IPower {
  public:
    // bus: where logind is asked (the system bus; tests give a private one).
    explicit TLogindPower(QDBusConnection bus = QDBusConnection::systemBus()) : m_bus(std::move(bus)) {}
    bool Allowed(TPowerAction action) override;
    bool Perform(TPowerAction action) override;
    void EndProgram() override;
    void TakeInhibitor(const QString& why) override;
    void ReleaseInhibitor() override;

  private:
    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_inhibitor;
};
