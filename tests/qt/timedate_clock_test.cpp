// The clock service against python3-dbusmock's timedated on a private bus (never the
// machine's): the exact SetTime call, each refusal with its reason, a window that lives on
// while the answer is awaited. The fallback where no timedated answers is run end to end, where
// clock_settime is recorded.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "fake/fake_platform.h"
#include "linux/timedate_clock.h"

namespace {

constexpr const char* kName = "org.freedesktop.timedate1";

// A process that runs until the end of the scope.
struct Running : QProcess {
    Running(const QString& program, const QStringList& arguments) { start(program, arguments); }
    ~Running() override {
        kill();
        waitForFinished();
    }
};

TEST(TimedateClock, SetsTheServerSecondThroughTimedatedAndGivesEachRefusalItsReason) {
    Running bus("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.readLine().trimmed());  // before Qt's first use
    const QDBusConnection system = QDBusConnection::systemBus();
    Running mock("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", "timedated"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return system.interface()->isServiceRegistered(kName); }));
    const qlok::SystemTimeRecord utc{2026, 12, 0, 5, 21, 54, 24, 0};  // 1796507664 s since 1970
    qlok::fake::FakeClock local;
    const qlok::ClockReading arrival = local.PreciseNow();  // 21:54:19.25 UTC: 4.75 s slow
    const auto raise = [](const char* error) {
        return QString("raise dbus.exceptions.DBusException('no', name='%1')").arg(error);
    };
    const struct {
        QString code;  // what the mock's SetTime runs
        bool interactive;
        const char* reason;
    } cases[] = {
        {"", true, ""},
        {"time.sleep(3)", true, ""},  // a person types the password: timers run meanwhile
        {raise("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"), true,
         "\"timedatectl set-ntp false\" hands the clock to QLOK"},
        {raise("org.freedesktop.DBus.Error.AccessDenied"), true, "not authorised"},
        {raise("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"), false,
         "run qlok-sync as root"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        QDBusMessage add = QDBusMessage::createMethodCall(kName, "/org/freedesktop/timedate1",
                                                          "org.freedesktop.DBus.Mock", "AddMethod");
        add << QString(kName) << "SetTime"
            << "xbb"
            << "" << c.code;
        ASSERT_EQ(system.call(add).type(), QDBusMessage::ReplyMessage);
        bool ticked = false;
        QTimer tick;
        tick.callOnTimeout([&] { ticked = true; });
        tick.start(100);
        qlok::qt::TimedateClock clock(local, c.interactive);
        EXPECT_EQ(clock.SetSystemTime(utc, arrival), *c.reason == '\0' ? 1 : 0);
        EXPECT_NE(clock.LastError().find(c.reason), std::string::npos) << clock.LastError();
        EXPECT_EQ(ticked, c.code == "time.sleep(3)");
        // A step by the server's lead, which timedated adds to its clock after the prompt.
        const QByteArray call =
            QString("SetTime 4750000 True %1").arg(c.interactive ? "True" : "False").toUtf8();
        QByteArray log = mock.readAllStandardOutput();
        while (!log.contains(call) && mock.waitForReadyRead(2000)) {
            log += mock.readAllStandardOutput();
        }
        EXPECT_TRUE(log.contains(call));
    }
    EXPECT_TRUE(local.setCalls.empty());
}

}  // namespace
