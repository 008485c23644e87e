// The clock service against python3-dbusmock's timedated on a private bus (never the
// machine's): the exact SetTime call, each refusal with its reason, the fallback where no
// timedated answers, and a window that goes on living while the answer is awaited.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "fake/fake_platform.h"
#include "qt/timedate_clock.h"

namespace {

constexpr const char* kName = "org.freedesktop.timedate1";
const qlok::SystemTimeRecord kUtc{2026, 12, 0, 5, 21, 54, 24, 0};  // 1796507664 s after 1970

class TimedateClockTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bus_ = new QProcess;  // one bus per process: Qt keeps its system bus connection
        bus_->start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(bus_->waitForReadyRead(5000));
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", bus_->readLine().trimmed());
    }
    static void TearDownTestSuite() {
        bus_->kill();
        bus_->waitForFinished();
        delete bus_;
    }
    void SetUp() override {
        mock_.start("/usr/bin/python3", {"-m", "dbusmock", "--system", "--template", "timedated"});
        for (int i = 0; i < 200 && !Registered(); ++i) {
            QTest::qWait(25);
        }
        ASSERT_TRUE(Registered());
    }
    void TearDown() override {
        mock_.kill();
        mock_.waitForFinished();
    }
    static bool Registered() {
        return QDBusConnection::systemBus().interface()->isServiceRegistered(kName);
    }
    // SetTime runs this Python code from now on.
    static void MockSetTime(const QString& code) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            kName, "/org/freedesktop/timedate1", "org.freedesktop.DBus.Mock", "AddMethod");
        call << QString(kName) << "SetTime"
             << "xbb"
             << "" << code;
        ASSERT_EQ(QDBusConnection::systemBus().call(call).type(), QDBusMessage::ReplyMessage);
    }

    static inline QProcess* bus_ = nullptr;
    QProcess mock_;
    qlok::fake::FakeClock local_;
};

TEST_F(TimedateClockTest, SetTimeGetsTheServerSecondAndEachRefusalItsReason) {
    const struct {
        const char* error;  // raised by timedated, or null
        bool interactive;
        const char* reason;
    } cases[] = {
        {nullptr, true, ""},
        {nullptr, false, ""},
        {"org.freedesktop.timedate1.AutomaticTimeSyncEnabled", true, "timedatectl set-ntp false"},
        {"org.freedesktop.DBus.Error.AccessDenied", true, "not authorised"},
        {"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", false, "as root"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error ? c.error : "accepted");
        MockSetTime(
            c.error ? QString("raise dbus.exceptions.DBusException('no', name='%1')").arg(c.error)
                    : QString());
        qlok::qt::TimedateClock clock(local_, c.interactive);
        EXPECT_EQ(clock.SetSystemTime(kUtc), c.error ? 0 : 1);
        EXPECT_NE(clock.LastError().find(c.reason), std::string::npos) << clock.LastError();
        mock_.waitForReadyRead(1000);
        EXPECT_TRUE(
            mock_.readAllStandardOutput().contains(QString("SetTime 1796507664000000 False %1")
                                                       .arg(c.interactive ? "True" : "False")
                                                       .toUtf8()));
    }
    EXPECT_TRUE(local_.setCalls.empty());

    mock_.kill();  // no timedated: the process sets the clock itself, if it may
    mock_.waitForFinished();
    qlok::qt::TimedateClock clock(local_, true);
    EXPECT_EQ(clock.SetSystemTime(kUtc), 1);
    local_.refuse = true;
    EXPECT_EQ(clock.SetSystemTime(kUtc), 0);
    EXPECT_NE(clock.LastError().find("CAP_SYS_TIME): Operation not permitted"), std::string::npos);
    EXPECT_EQ(local_.setCalls.size(), 2u);
}

TEST_F(TimedateClockTest, TheWindowLivesOnWhileTheAnswerIsAwaited) {
    MockSetTime("time.sleep(1)");  // a person types the password
    bool ticked = false;
    QTimer::singleShot(100, [&] { ticked = true; });
    qlok::qt::TimedateClock clock(local_, true);
    EXPECT_EQ(clock.SetSystemTime(kUtc), 1);
    EXPECT_TRUE(ticked);
}

}  // namespace
