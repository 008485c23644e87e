#include <gtest/gtest.h>

#include <random>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using fake::NistReply;
using Lines = std::vector<std::string>;

class Exchange : public ::testing::Test {
  protected:
    void SetUp() override {
        app.files.files["QLOK servers.ini"] = "127.0.0.1\r\nbackup.example";
        app.Load();
    }
    FakeApp app;
    const std::string reply = NistReply(26, 12, 5, 21, 54, 19);
};

TEST_F(Exchange, TheExpectedReplyInOnePiece) {
    ASSERT_EQ(reply.size(), 51u);
    app.form.Command1_Click();
    app.Connected();
    app.Receive(reply);
    EXPECT_EQ(app.List(),
              (Lines{"target: 127.0.0.1", "opening connection", "   winsock connection made",
                     "      data received: 2026-12-05 21:54:19    (51 bytes)"}));
    EXPECT_EQ(app.form.ReceiveBuffer, "2026-12-05 21:54:19");
    EXPECT_EQ(app.form.ArrivalLocalTime, "2026-12-05 22:54:19");
    EXPECT_EQ(app.winsock1.host, "127.0.0.1");
    EXPECT_EQ(app.winsock1.port, 13);
    EXPECT_EQ(app.log.lines, app.List());
}

TEST_F(Exchange, ReplyTooLongIsRejectedForTheRestOfTheAttempt) {
    app.form.Command1_Click();
    app.Receive(reply + "x");
    EXPECT_EQ(app.List().end()[-2], "      data received: 2026-12-05 21:54:19    (52 bytes)");
    EXPECT_EQ(app.List().back(), "      incorrect data received - try again");
    EXPECT_EQ(app.form.ReceiveBuffer, "");
    app.Receive("y");
    EXPECT_EQ(app.List().back(), "      incorrect data received - try again");
    EXPECT_EQ(app.form.ReceiveBuffer, "");
}

TEST_F(Exchange, ReplySplitByTcpIsJudgedOnAllItsBytes) {
    app.form.Command1_Click();
    app.Receive(reply.substr(0, 50));
    app.Receive(reply.substr(50));
    EXPECT_EQ(app.List().end()[-2], "      data received: 2026-12-05 21:54:19    (50 bytes)");
    EXPECT_EQ(app.List().back(), "      data received: 2026-12-05 21:54:19    (1 bytes)");
    EXPECT_EQ(app.form.ReceiveBuffer, "2026-12-05 21:54:19");
}

TEST_F(Exchange, ASecondWholeReplySpoilsTheFirst) {
    app.form.Command1_Click();
    app.Receive(reply);
    app.Receive(reply);
    EXPECT_EQ(app.List().back(), "      incorrect data received - try again");
    EXPECT_EQ(app.form.ReceiveBuffer, "");
}

TEST_F(Exchange, ALoneLineFeedThenCloseIsIncorrectData) {
    app.form.Command1_Click();
    app.Receive("\n");
    EXPECT_EQ(app.List().back(), "      data received: 20     (1 bytes)");
    app.ServerCloses();
    EXPECT_EQ(app.List().end()[-3], "      incorrect data received - try again");
    EXPECT_EQ(app.List().end()[-2], "   closing connection");
    EXPECT_EQ(app.List().back(), "   sockets closed");
    EXPECT_TRUE(app.clock.setCalls.empty());
}

TEST_F(Exchange, ResyncClearsTheListAndClosesAnOpenSocket) {
    app.form.Command1_Click();
    app.Connected();
    app.Receive(reply.substr(0, 10));
    app.form.Command1_Click();
    EXPECT_EQ(app.winsock1.closes, 1);
    EXPECT_EQ(app.winsock1.connects, 2);
    EXPECT_EQ(app.List(), (Lines{"target: 127.0.0.1", "opening connection"}));
    // The old attempt's bytes do not count towards the new reply.
    app.Receive(reply);
    EXPECT_EQ(app.form.ReceiveBuffer, "2026-12-05 21:54:19");
}

TEST_F(Exchange, ErrorsAreListedAndAPositiveNumberClosesTheSocket) {
    app.form.Command1_Click();
    app.form.Winsock1_Error(10061, "Connection refused");
    EXPECT_EQ(app.List(), (Lines{"target: 127.0.0.1", "opening connection",
                                 "   error received: Connection refused",
                                 "   error received: 10061", "sockets closed"}));
    EXPECT_EQ(app.winsock1.closes, 1);

    app.form.Winsock1_Error(10061, "Connection refused");  // closed already: no second close
    EXPECT_EQ(app.winsock1.closes, 1);
    EXPECT_EQ(app.List().back(), "sockets closed");

    const std::size_t before = app.List().size();
    app.form.Winsock1_Error(-5, "odd");
    app.form.Winsock1_Error(0, "none");
    EXPECT_EQ(app.List().size(), before + 4);
    EXPECT_EQ(app.List().back(), "   error received: 0");
}

}  // namespace
}  // namespace qlok

namespace qlok {
namespace {

// Whatever a server sends, in whatever pieces, the window neither crashes nor sets the clock
// from a reply that is not one whole 51-byte line.
TEST(ExchangeRobustness, ArbitraryRepliesInArbitraryPieces) {
    std::mt19937 random(20261206);
    const std::string good = NistReply(26, 12, 5, 21, 54, 30);
    for (int round = 0; round < 3000; ++round) {
        FakeApp app;
        app.Load();
        app.form.Command1_Click();
        app.Connected();
        std::string reply = good;
        const unsigned kind = random() % 4;
        if (kind == 0) {
            reply.assign(random() % 120, '\0');
            for (char& c : reply) {
                c = static_cast<char>(random() % 256);
            }
        } else if (kind == 1) {
            reply.resize(random() % 60, '7');
        } else if (kind == 2) {
            reply[random() % reply.size()] = static_cast<char>(random() % 256);
        }
        for (std::size_t at = 0; at < reply.size();) {
            const std::size_t piece = 1 + random() % 20;
            app.Receive(reply.substr(at, piece));
            at += piece;
        }
        app.ServerCloses();
        if (reply.size() != 51) {
            EXPECT_TRUE(app.clock.setCalls.empty());
        }
        if (kind == 3) {
            EXPECT_EQ(app.clock.setCalls.size(), 1u);  // the good reply, 11 seconds ahead
        }
    }
}

}  // namespace
}  // namespace qlok
