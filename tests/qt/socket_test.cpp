// The socket adapter against a real server on the loopback interface.
#include <gtest/gtest.h>

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

// Writes its chunks to each client 50 ms apart, then closes the connection if asked to.
class Server {
  public:
    Server(std::vector<QByteArray> chunks, bool close) {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this, chunks, close] {
            QTcpSocket* client = server_.nextPendingConnection();
            int delay = 50;
            for (const QByteArray& chunk : chunks) {
                QTimer::singleShot(delay, client, [client, chunk] { client->write(chunk); });
                delay += 50;
            }
            if (close) {
                QTimer::singleShot(delay, client, [client] { client->disconnectFromHost(); });
            }
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

    void Connect(int port) {
        socket.SetRemoteHost("127.0.0.1");
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

TEST(QtSocket, ReportsTheReplyAndTheServersCloseOnce) {
    struct Case {
        const char* name;
        std::vector<QByteArray> chunks;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"one piece", {kReply}, {"connect", "data 51", "close"}},
        {"split 50 + 1",
         {kReply.left(50), kReply.mid(50)},
         {"connect", "data 50", "data 1", "close"}},
        {"no data", {}, {"connect", "close"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Server server(c.chunks, true);
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

TEST(QtSocket, RefusedConnectionIsErrorWithWinsockNumber) {
    int port = 0;
    {
        QTcpServer probe;  // a port that was free a moment ago and has no listener now
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    Recorder recorder;
    recorder.Connect(port);
    ASSERT_TRUE(recorder.WaitFor("error 10061"));
    QTest::qWait(100);
    EXPECT_EQ(recorder.events, std::vector<std::string>{"error 10061"});
    EXPECT_FALSE(recorder.description.empty());
    EXPECT_NE(recorder.socket.State(), 0);
}

TEST(QtSocket, OurOwnCloseRaisesNothingAndDropsTheOldAttempt) {
    Server slow({kReply}, true);
    Recorder recorder;
    recorder.Connect(slow.Port());
    ASSERT_TRUE(recorder.WaitFor("connect"));
    recorder.socket.Close();
    EXPECT_EQ(recorder.socket.State(), 0);
    QTest::qWait(300);  // the server's reply and close come and go unheard
    EXPECT_EQ(recorder.events, std::vector<std::string>{"connect"});

    // A new attempt right after an abandoned one hears only its own server.
    Server first({kReply}, true);
    Server second({kReply.left(10)}, true);
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
