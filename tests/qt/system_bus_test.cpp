// The services on the system bus, against python3-dbusmock's templates on a private bus (never
// the machine's): the wakes logind reports, and the clock set through timedated. The fallback
// where no timedated answers is run end to end, where clock_settime is recorded.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <tuple>

#include "fake/fake_platform.h"
#include "linux/sleep_watch.h"
#include "linux/timedate_clock.h"

namespace {

// A process that runs until the end of the scope.
struct Running : QProcess {
    ~Running() override {
        kill();
        waitForFinished();
    }
};

// Starts a private bus that stands in for the system bus (before Qt's first use of it), then
// one of the mock's templates on it; true once the template's service is on the bus.
bool StartMock(Running& bus, Running& mock, const char* templateName, const char* service) {
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!bus.waitForReadyRead(5000)) {
        return false;
    }
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus.readLine().trimmed());
    mock.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", templateName});
    return QTest::qWaitFor([&] {
        return QDBusConnection::systemBus().interface()->isServiceRegistered(service).value();
    });
}

TEST(SleepWatch, ReportsEachWakeAndNoSleep) {
    Running bus, logind;
    ASSERT_TRUE(StartMock(bus, logind, "logind", "org.freedesktop.login1"));
    const QDBusConnection system = QDBusConnection::systemBus();
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
}

// The exact SetTime call, each refusal with its reason, a window that lives on while the answer
// is awaited.
TEST(TimedateClock, SetsTheServerSecondThroughTimedatedAndGivesEachRefusalItsReason) {
    constexpr const char* kName = "org.freedesktop.timedate1";
    Running bus, mock;
    ASSERT_TRUE(StartMock(bus, mock, "timedated", kName));
    const QDBusConnection system = QDBusConnection::systemBus();
    const qlok::SystemTimeRecord utc{2026, 12, 0, 5, 21, 54, 24, 0};  // 1796507664 s since 1970
    qlok::fake::FakeClock local;
    const qlok::ClockReading arrival = local.PreciseNow();  // 21:54:19.25 UTC: 4.75 s slow
    const auto raise = [](const char* error) {
        return QString("raise dbus.exceptions.DBusException('no', name='%1')").arg(error);
    };
    // What the mock's SetTime runs, whether the clock may ask for a password, the reason given.
    const std::tuple<QString, bool, const char*> cases[] = {
        {"", true, ""},
        {"time.sleep(3)", true, ""},  // a person types the password: timers run meanwhile
        {raise("org.freedesktop.timedate1.AutomaticTimeSyncEnabled"), true,
         "\"timedatectl set-ntp false\" hands the clock to QLOK"},
        {raise("org.freedesktop.DBus.Error.AccessDenied"), true, "not authorised"},
        {raise("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"), false,
         "run qlok-sync as root"},
    };
    for (const auto& [code, interactive, reason] : cases) {
        SCOPED_TRACE(code.toStdString());
        QDBusMessage add = QDBusMessage::createMethodCall(kName, "/org/freedesktop/timedate1",
                                                          "org.freedesktop.DBus.Mock", "AddMethod");
        add << QString(kName) << "SetTime"
            << "xbb"
            << "" << code;
        ASSERT_EQ(system.call(add).type(), QDBusMessage::ReplyMessage);
        bool ticked = false;
        QTimer tick;
        tick.callOnTimeout([&] { ticked = true; });
        tick.start(100);
        qlok::qt::TimedateClock clock(local, interactive);
        EXPECT_EQ(clock.SetSystemTime(utc, arrival), *reason == '\0' ? 1 : 0);
        EXPECT_NE(clock.LastError().find(reason), std::string::npos) << clock.LastError();
        EXPECT_EQ(ticked, code == "time.sleep(3)");
        // A step by the server's lead, which timedated adds to its clock after the prompt.
        const QByteArray call =
            QString("SetTime 4750000 True %1").arg(interactive ? "True" : "False").toUtf8();
        QByteArray log = mock.readAllStandardOutput();
        while (!log.contains(call) && mock.waitForReadyRead(2000)) {
            log += mock.readAllStandardOutput();
        }
        EXPECT_TRUE(log.contains(call));
    }
    EXPECT_TRUE(local.setCalls.empty());
}

}  // namespace
