// The socket cases on Qt's event loop, against servers on the loopback interface.
#include <gtest/gtest.h>

#include <QTest>

#include "linux/qt_socket.h"
#include "posix/posix_services.h"
#include "socket_conformance.h"

namespace {

TEST(QtSocket, PassesTheSocketCases) {
    const qlok::posix::PosixClock clock;
    qlok::conformance::RunCases(
        [&](qlok::SocketEvents events, int timeoutMs) {
            auto socket = std::make_shared<qlok::qt::QtSocket>(clock, std::move(events), timeoutMs);
            return std::shared_ptr<qlok::Socket>(socket, &socket->control);
        },
        [](const auto& condition) { return QTest::qWaitFor(condition, 15'000); },
        [](const qlok::conformance::Case&) { return nullptr; });
}

}  // namespace
