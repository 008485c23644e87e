// The socket against real servers on the loopback interface.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <string>

#include "posix/posix_services.h"
#include "linux/qt_socket.h"

namespace {

const QByteArray kReply = "\n60676 24-12-06 19:02:03 00 0 0 123.4 UTC(NIST) * \n";  // 51 bytes
// The space makes the name refused before any resolver is asked, so no query leaves.
const char* const kUnresolvable = "no such host.invalid";

// What a server does after its chunks; kGone closes the listener before anyone connects.
enum class End { kClose, kReset, kSilent, kGone };

// Listens on address and writes its chunks to each client 50 ms apart, then ends as told;
// returns the port, 0 if it cannot listen there.
int Serve(QTcpServer& server, const QHostAddress& address, QByteArrayList chunks, End end) {
    const int port = server.listen(address, 0) ? server.serverPort() : 0;
    if (end == End::kGone) {
        server.close();  // its port was free a moment ago and has no listener now
    }
    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server, chunks, end] {
        QTcpSocket* client = server.nextPendingConnection();
        int delay = 50;
        for (const QByteArray& chunk : chunks) {
            QTimer::singleShot(delay += 50, client, [client, chunk] { client->write(chunk); });
        }
        QTimer::singleShot(delay + 50, client, [client, end] {
            if (end == End::kReset) {  // a zero linger time makes the close send RST
                const linger hard{1, 0};
                ::setsockopt(static_cast<int>(client->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                             &hard, sizeof hard);
                client->abort();
            } else if (end == End::kClose) {
                client->disconnectFromHost();
            }
        });
    });
    return port;
}

TEST(QtSocket, OneCloseOrErrorAfterTheDataOfTheAttemptAndNothingFromAbandonedOnes) {
    const struct {
        const char* host;
        QByteArrayList chunks;
        End end;
        std::string events;
    } cases[] = {
        {"127.0.0.1", {kReply}, End::kClose, "connect data51 close "},
        {"::1", {kReply.left(50), kReply.mid(50)}, End::kClose, "connect data50 data1 close "},
        {"127.0.0.1", {}, End::kReset, "connect error10054 "},
        {"127.0.0.1", {kReply.left(20)}, End::kReset, "connect data20 error10054 "},
        {"127.0.0.1", {kReply.left(20)}, End::kSilent, "connect data20 error10060 "},
        {"127.0.0.1", {}, End::kGone, "error10061 "},
        {kUnresolvable, {}, End::kGone, "error11001 "},
        {"localhost", {kReply}, End::kClose, "connect data51 close "},  // from the hosts file
    };
    QTcpServer decoy;
    const int decoyPort = Serve(decoy, QHostAddress::LocalHost, {kReply}, End::kClose);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host + (" " + c.events));
        QTcpServer server;
        const QHostAddress numeric(c.host);
        const int port =
            Serve(server, numeric.isNull() ? QHostAddress::LocalHost : numeric, c.chunks, c.end);
        if (port == 0) {
            continue;  // no IPv6 on this machine
        }
        std::string events, received;
        const qlok::posix::PosixClock clock;
        qlok::qt::QtSocket socket(clock,
                                  {[&] { events += "connect "; },
                                   [&](std::int32_t count) {
                                       events += "data" + std::to_string(count) + " ";
                                       received += socket.control.GetData();
                                   },
                                   [&] { events += "close "; },
                                   [&](std::int16_t n, const std::string& text) {
                                       events += "error" + std::to_string(n) +
                                                 (text.empty() ? "? " : " ");
                                   }},
                                  2000);  // a short deadline for the silent server
        // A lookup and a connection abandoned by the next Connect are never heard of.
        for (const auto& [name, number] : {std::pair<const char*, int>{kUnresolvable, 13},
                                           {"localhost", decoyPort},
                                           {"127.0.0.1", decoyPort},
                                           {c.host, port}}) {
            socket.control.SetRemoteHost(name);
            socket.control.SetRemotePort(number);
            EXPECT_FALSE(socket.control.Connect().has_value());
        }
        EXPECT_EQ(events, "") << "an event came from inside Connect";
        EXPECT_TRUE(QTest::qWaitFor([&] { return events.size() >= c.events.size(); }));
        QTest::qWait(150);  // nothing may follow the attempt's outcome
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(QByteArray::fromStdString(received), c.chunks.join());
        EXPECT_NE(socket.control.State(), 0) << "open until we close our side";
    }
}

}  // namespace
