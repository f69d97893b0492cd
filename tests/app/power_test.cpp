#include "app/power.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <gtest/gtest.h>

// Only the questions are asked here, never an action. Without a system bus (or without logind
// on it) nothing is allowed, so ShutdownAction would do nothing.
TEST(LogindPower, NothingIsAllowedWithoutLogind) {
    const QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected() && bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.login1")))
        GTEST_SKIP() << "logind is running here; its answers depend on the machine";
    TLogindPower power;
    for (TPowerAction action : {TPowerAction::PowerOff, TPowerAction::EndSession, TPowerAction::Reboot,
                                TPowerAction::Hibernate, TPowerAction::Suspend})
        EXPECT_FALSE(power.Allowed(action));
}

TEST(LogindPower, NothingHappensUntilAnImplementationIsInstalled) {
    SetPower(nullptr);
    EXPECT_FALSE(Power().Allowed(TPowerAction::PowerOff));
    EXPECT_FALSE(Power().Perform(TPowerAction::PowerOff));
    Power().EndProgram();
}
