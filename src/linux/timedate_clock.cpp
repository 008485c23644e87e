#include "linux/timedate_clock.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QStringList>

#include "linux/local_text.h"
#include "sync/clock_step.h"

namespace qlok::qt {

namespace {

// polkit keeps the call open while a person looks for the password.
constexpr int kAnswerTimeoutMs = 150'000;

// Errors of the bus itself that say no timedated answers there, or it could not be started.
bool NoTimeService(const QString& error) {
    static const QStringList absent{
        "org.freedesktop.DBus.Error.ServiceUnknown", "org.freedesktop.DBus.Error.NameHasNoOwner",
        "org.freedesktop.DBus.Error.NoServer",       "org.freedesktop.DBus.Error.Disconnected",
        "org.freedesktop.DBus.Error.UnknownObject",  "org.freedesktop.DBus.Error.UnknownInterface",
        "org.freedesktop.DBus.Error.UnknownMethod",
    };
    return absent.contains(error) || error.startsWith("org.freedesktop.DBus.Error.Spawn.") ||
           error.startsWith("org.freedesktop.systemd1.");
}

std::string Reason(const QDBusError& error, bool interactive) {
    const QString name = error.name();
    if (name == "org.freedesktop.timedate1.AutomaticTimeSyncEnabled") {
        return "automatic time synchronisation is on and keeps the clock\n"
               "\"timedatectl set-ntp false\" hands the clock to QLOK";
    }
    if (name == "org.freedesktop.DBus.Error.AccessDenied" ||
        name == "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired" ||
        name == "org.freedesktop.DBus.Error.AuthFailed") {
        return interactive ? "not authorised to set the clock\n"
                             "the authorisation was refused or cancelled"
                           : "not authorised to set the clock without a password prompt\n"
                             "run qlok-sync as root, as its systemd service does";
    }
    if (name == "org.freedesktop.DBus.Error.NoReply" ||
        name == "org.freedesktop.DBus.Error.Timeout") {
        return "systemd-timedated gave no answer within " +
               std::to_string(kAnswerTimeoutMs / 1000) + " seconds";
    }
    return "systemd-timedated refused to set the clock\n" + ToLocal(error.message()) + " (" +
           ToLocal(name) + ")";
}

// Waits in a local event loop: paint events and timers run, user input waits. Socket
// notifiers wait too where the event dispatcher honours that (glib's does not); the window
// logic defers whatever timers and sockets bring until the correction is over.
QDBusMessage Await(const QDBusPendingCall& call) {
    QDBusPendingCallWatcher watcher(call);
    if (!watcher.isFinished()) {
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    }
    watcher.waitForFinished();  // the loop ended early as the program quits: still the answer
    return watcher.reply();
}

}  // namespace

int TimedateClock::SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) {
    // Connected on first use: a window that never sets the clock never touches the bus.
    const QDBusConnection bus = QDBusConnection::systemBus();
    if (bus.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.timedate1",
                                                           "/org/freedesktop/timedate1",
                                                           "org.freedesktop.timedate1", "SetTime");
        // A step relative to timedated's own clock when it sets it: however long polkit took to
        // ask, the time that passed since the reply is carried, to the microsecond.
        const qlonglong step = StepMicroseconds(utc, arrival);
        call << step << true << interactive_;
        call.setInteractiveAuthorizationAllowed(interactive_);
        const QDBusMessage reply = Await(bus.asyncCall(call, kAnswerTimeoutMs));
        if (reply.type() == QDBusMessage::ReplyMessage) {
            lastError_.clear();
            return 1;
        }
        const QDBusError error(reply);
        if (!NoTimeService(error.name())) {
            lastError_ = Reason(error, interactive_);
            return 0;
        }
    }
    if (local_.SetSystemTime(utc, arrival) != 0) {
        lastError_.clear();
        return 1;
    }
    lastError_ =
        "no systemd-timedated, and no CAP_SYS_TIME to set the clock\n"
        "setting the clock directly: " +
        local_.LastError();
    return 0;
}

}  // namespace qlok::qt
