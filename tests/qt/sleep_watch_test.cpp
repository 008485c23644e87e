// Wakes reported from python3-dbusmock's logind on a private bus (never the machine's).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>

#include "linux/sleep_watch.h"

namespace {

TEST(SleepWatch, ReportsEachWakeAndNoSleep) {
    QProcess bus, logind;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.readLine().trimmed());  // before Qt's first use
    const QDBusConnection system = QDBusConnection::systemBus();
    logind.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", "logind"});
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return system.interface()->isServiceRegistered("org.freedesktop.login1").value(); }));
    int wakes = 0;
    const qlok::qt::SleepWatch watch([&wakes] { ++wakes; });
    QCoreApplication::processEvents();  // it starts watching
    for (const bool starting : {true, false, true, false}) {
        QDBusMessage call =
            QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                           "org.freedesktop.DBus.Mock", "EmitSignal");
        call << "org.freedesktop.login1.Manager"
             << "PrepareForSleep"
             << "b" << QVariantList{starting};
        ASSERT_EQ(system.call(call).type(), QDBusMessage::ReplyMessage) << starting;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return wakes >= 2; }));
    EXPECT_EQ(wakes, 2);
    logind.kill(), bus.kill();
    logind.waitForFinished(), bus.waitForFinished();
}

}  // namespace
