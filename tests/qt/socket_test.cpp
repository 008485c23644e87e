// The socket adapter against a real server on the loopback interface.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "qt/qt_socket.h"

namespace {

using qlok::qt::QtSocket;
using qlok::qt::SocketEvents;

const QByteArray kReply = "\n60676 24-12-06 19:02:03 00 0 0 123.4 UTC(NIST) * \n";  // 51 bytes

// How the server ends a connection after its chunks.
enum class End { kClose, kReset };

// Writes its chunks to each client 50 ms apart, then closes or resets the connection.
class Server {
  public:
    Server(std::vector<QByteArray> chunks, End end = End::kClose) {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this, chunks, end] {
            QTcpSocket* client = server_.nextPendingConnection();
            int delay = 50;
            for (const QByteArray& chunk : chunks) {
                QTimer::singleShot(delay, client, [client, chunk] { client->write(chunk); });
                delay += 50;
            }
            QTimer::singleShot(delay, client, [client, end] {
                if (end == End::kClose) {
                    client->disconnectFromHost();
                    return;
                }
                // A zero linger time makes the close send RST instead of FIN.
                const linger hard{1, 0};
                EXPECT_EQ(::setsockopt(static_cast<int>(client->socketDescriptor()), SOL_SOCKET,
                                       SO_LINGER, &hard, sizeof hard),
                          0);
                client->abort();
            });
        });
    }
    int Port() const { return server_.serverPort(); }

  private:
    QTcpServer server_;
};

// Records the events of one socket, reading the data as the window does.
class Recorder {
  public:
    Recorder()
        : socket(SocketEvents{[this] { events.push_back("connect"); },
                              [this](std::int32_t count) {
                                  events.push_back("data " + std::to_string(count));
                                  received += socket.GetData();
                              },
                              [this] {
                                  events.push_back("close");
                                  stateAtClose = socket.State();
                              },
                              [this](int number, const std::string& text) {
                                  events.push_back("error " + std::to_string(number));
                                  description = text;
                              }}) {}

    void Connect(int port, const char* host = "127.0.0.1") {
        socket.SetRemoteHost(host);
        socket.SetRemotePort(port);
        EXPECT_FALSE(socket.Connect().has_value());
        EXPECT_TRUE(events.empty()) << "an event came from inside Connect";
    }
    bool WaitFor(const std::string& event) {
        return QTest::qWaitFor([&] { return !events.empty() && events.back() == event; }, 5000);
    }

    std::vector<std::string> events;
    std::string received;
    std::string description;
    int stateAtClose = -1;
    QtSocket socket;
};

// A server that sends these chunks, and the events the window must see.
struct EventCase {
    const char* name;
    std::vector<QByteArray> chunks;
    std::vector<std::string> events;
};

TEST(QtSocket, ReportsTheReplyAndTheServersCloseOnce) {
    const EventCase cases[] = {
        {"one piece", {kReply}, {"connect", "data 51", "close"}},
        {"split 50 + 1",
         {kReply.left(50), kReply.mid(50)},
         {"connect", "data 50", "data 1", "close"}},
        {"no data", {}, {"connect", "close"}},
    };
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.name);
        Server server(c.chunks);
        Recorder recorder;
        recorder.Connect(server.Port());
        ASSERT_TRUE(recorder.WaitFor("close"));
        QTest::qWait(100);  // nothing may follow the close
        EXPECT_EQ(recorder.events, c.events);
        EXPECT_EQ(recorder.received, (c.chunks.empty() ? QByteArray() : kReply).toStdString());
        EXPECT_NE(recorder.stateAtClose, 0) << "open until we close our side";
        recorder.socket.Close();
        EXPECT_EQ(recorder.socket.State(), 0);
    }
}

TEST(QtSocket, ResetIsOneErrorAfterTheDataReceivedBeforeIt) {
    const EventCase cases[] = {
        {"no data", {}, {"connect", "error 10054"}},
        {"after 20 bytes", {kReply.left(20)}, {"connect", "data 20", "error 10054"}},
    };
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.name);
        Server server(c.chunks, End::kReset);
        Recorder recorder;
        recorder.Connect(server.Port());
        ASSERT_TRUE(recorder.WaitFor("error 10054"));
        QTest::qWait(100);  // nothing may follow the error, least of all a close
        EXPECT_EQ(recorder.events, c.events);
        EXPECT_EQ(recorder.received, (c.chunks.empty() ? QByteArray() : c.chunks[0]).toStdString());
        EXPECT_FALSE(recorder.description.empty());
        EXPECT_NE(recorder.socket.State(), 0) << "open until we close our side";
    }
}

TEST(QtSocket, FailuresBeforeTheConnectionAreErrorsWithWinsockNumbers) {
    int freePort = 0;
    {
        QTcpServer probe;  // a port that was free a moment ago and has no listener now
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        freePort = probe.serverPort();
    }
    struct Case {
        const char* host;
        int port;
        const char* event;
    };
    // The space makes Qt reject the name before asking any resolver, so no query leaves.
    const char* const unresolvable = "no such host.invalid";
    for (const Case& c :
         {Case{"127.0.0.1", freePort, "error 10061"}, Case{unresolvable, 13, "error 11001"}}) {
        SCOPED_TRACE(c.host);
        Recorder recorder;
        recorder.Connect(c.port, c.host);
        ASSERT_TRUE(recorder.WaitFor(c.event));
        QTest::qWait(100);
        EXPECT_EQ(recorder.events, std::vector<std::string>{c.event});
        EXPECT_FALSE(recorder.description.empty());
        EXPECT_NE(recorder.socket.State(), 0);
    }

    // A lookup abandoned by Close reports nothing.
    Recorder recorder;
    recorder.Connect(13, unresolvable);
    recorder.socket.Close();
    QTest::qWait(100);
    EXPECT_TRUE(recorder.events.empty());
}

TEST(QtSocket, OurOwnCloseRaisesNothingAndDropsTheOldAttempt) {
    Server slow({kReply});
    Recorder recorder;
    recorder.Connect(slow.Port());
    ASSERT_TRUE(recorder.WaitFor("connect"));
    recorder.socket.Close();
    EXPECT_EQ(recorder.socket.State(), 0);
    QTest::qWait(300);  // the server's reply and close come and go unheard
    EXPECT_EQ(recorder.events, std::vector<std::string>{"connect"});

    // A new attempt right after an abandoned one hears only its own server.
    Server first({kReply});
    Server second({kReply.left(10)});
    recorder.events.clear();
    recorder.Connect(first.Port());
    recorder.Connect(second.Port());
    ASSERT_TRUE(recorder.WaitFor("close"));
    QTest::qWait(200);
    EXPECT_EQ(recorder.events, (std::vector<std::string>{"connect", "data 10", "close"}));
}

TEST(QtSocket, BlankHostFailsAtOnceWithoutEvents) {
    Recorder recorder;
    for (const char* host : {"", "   "}) {
        recorder.socket.SetRemoteHost(host);
        recorder.socket.SetRemotePort(13);
        const auto failure = recorder.socket.Connect();
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->number, 11001);
        EXPECT_EQ(failure->description, "No server name given");
    }
    QTest::qWait(50);
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_EQ(recorder.socket.State(), 0);
}

}  // namespace
