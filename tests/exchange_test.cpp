#include <gtest/gtest.h>

#include <tuple>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::NistReply;
using Lines = std::vector<std::string>;

const std::string kReply = NistReply(26, 12, 5, 21, 54, 19);
const std::string kBad = "      incorrect data received - try again";
const Lines kClosed{"   closing connection", "   sockets closed"};

// The rejection of a reply that ran past 51 bytes, n in all.
std::string TooLong(int n) {
    return "      reply too long (" + std::to_string(n) +
           " bytes, a reply has 51) - no more is read";
}

// The data line for an event that brought n bytes, the reply so far being kReply.
std::string Data(int n) {
    return "      data received: 2026-12-05 21:54:19    (" + std::to_string(n) + " bytes)";
}

// A window on the fake that has just sent Resync to 127.0.0.1.
class Exchange : public ::testing::Test {
  protected:
    void SetUp() override { app.form.Command1_Click(); }
    // The lines after "opening connection".
    Lines Tail() const { return Lines(app.List().begin() + 2, app.List().end()); }
    fake::FakeApp app;
};

// Each case is a new Resync: it closes the socket of the attempt before, still open, and forgets
// its bytes. TCP may split the reply, but its bytes must come within a second of the first,
// whose time is the arrival; a reply too long ends the attempt at once, whatever the server would
// still send; the server's close (an empty piece here) after a lone line feed leaves no reply.
// The log gets control bytes escaped.
TEST_F(Exchange, AllBytesOfTheAttemptAreJudgedTogether) {
    const std::string time = "2026-12-05 21:54:19";
    struct Case {
        Lines pieces;
        Lines listed;
        std::string buffer;
        int gap = 0;           // seconds the local clock moves after each piece
        std::string logged{};  // the last log line where it differs from the list's
    };
    for (const Case& c :
         {Case{{kReply}, {Data(51)}, time},
          Case{{kReply + "x", "y"}, {Data(52), kBad, TooLong(52), kClosed[0], kClosed[1]}, ""},
          Case{{kReply.substr(0, 50), kReply.substr(50)}, {Data(50), Data(1)}, time, 1},
          Case{{kReply.substr(0, 50), kReply.substr(50)}, {Data(50), Data(1), kBad}, "", 2},
          Case{{kReply, kReply},
               {Data(51), Data(51), kBad, TooLong(102), kClosed[0], kClosed[1]},
               ""},
          Case{{std::string("\n6101\t \r\x1b[2J\0\\x", 15)},
               {std::string("      data received: 20\r\x1b[2J\0\\x     (15 bytes)", 46)},
               std::string("20\r\x1b[2J\0\\x ", 11),
               0,
               "      data received: 20\\r\\x1b[2J\\x00\\\\x     (15 bytes)"},
          Case{{"\n61014 \x7f\t"},  // DEL is escaped in the log, a tab is not
               {"      data received: 20\x7f\t     (9 bytes)"},
               "20\x7f\t ",
               0,
               "      data received: 20\\x7f\t     (9 bytes)"},
          Case{{"\n", ""},
               {"      data received: 20     (1 bytes)", kBad, kClosed[0], kClosed[1]},
               ""}}) {
        SCOPED_TRACE(testing::PrintToString(c.pieces) + " gap " + std::to_string(c.gap));
        // A too long reply closed its socket already.
        const int closes = app.winsock1.closes + (app.winsock1.State() != win::kSckClosed);
        app.clock.now = {2026, 12, 5, 22, 54, 19};
        app.clock.monotonic += kRequestSpacingMicroseconds;
        app.combo1.text = "time.example.org";
        app.form.Command1_Click();
        EXPECT_EQ(app.winsock1.closes, closes);
        EXPECT_EQ(std::pair(app.winsock1.host, app.winsock1.port),
                  std::pair(std::string("time.example.org"), 13));
        for (const std::string& piece : c.pieces) {
            piece.empty() ? app.ServerCloses() : app.Receive(piece);
            app.clock.now.second += c.gap;
        }
        EXPECT_EQ(Tail(), c.listed);
        EXPECT_EQ(app.form.ReceiveBuffer, c.buffer);
        EXPECT_EQ(app.form.ArrivalLocalTime, "2026-12-05 22:54:19");
        EXPECT_EQ(app.log.lines.back(), c.logged.empty() ? app.List().back() : c.logged);
    }
}

// Errors are listed; a positive number closes the socket (once) and says so.
TEST_F(Exchange, ErrorsAreListedAndAPositiveNumberClosesTheSocket) {
    app.form.Winsock1_Error(10061, "Connection refused");
    app.form.Winsock1_Error(10060, "Timed out");  // closed already
    app.form.Winsock1_Error(0, "none");
    EXPECT_EQ(app.winsock1.closes, 1);
    const std::string e = "   error received: ";
    EXPECT_EQ(Tail(), (Lines{e + "Connection refused", e + "10061", "sockets closed",
                             e + "Timed out", e + "10060", "sockets closed", e + "none", e + "0"}));
}

// A request to the server asked less than 4 s before waits out the rest, saying so; another
// server is asked at once, and so is the same one 4 s on.
TEST(RequestSpacing, RequestsToOneServerAreAtLeastFourSecondsApart) {
    constexpr int kAtOnce = fake::FakeOneShotTimer::kNeverStarted;  // no wait was started
    for (const auto& [host, after, wait] : {std::tuple{"127.0.0.1", 1'000'000, 3000},
                                            {"127.0.0.1", 3'500'000, 500},
                                            {"127.0.0.1", 4'000'000, kAtOnce},
                                            {"127.0.0.2", 0, kAtOnce}}) {
        SCOPED_TRACE(host + std::string(" after ") + std::to_string(after));
        fake::FakeApp app;
        app.form.Command1_Click();
        app.clock.monotonic += after;
        app.combo1.text = host;
        app.form.Command1_Click();
        EXPECT_EQ(app.requestDelay.milliseconds, wait);
        EXPECT_EQ(app.List().back(), wait == kAtOnce
                                         ? "opening connection"
                                         : "   waiting " + std::to_string((wait + 999) / 1000) +
                                               " s: time servers refuse requests less than "
                                               "4 s apart");
        app.requestDelay.Fire();
        EXPECT_EQ(app.winsock1.connects, 2);
    }
}

}  // namespace
}  // namespace qlok
