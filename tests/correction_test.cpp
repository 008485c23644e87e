#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using Lines = std::vector<std::string>;

// The fake clock reads 2026-12-05 22:54:19 local, one hour ahead of UTC; a server whose UTC
// time is 21:54:19 + delta seconds finds the local clock delta seconds slow.
class Correction : public ::testing::Test {
  protected:
    void SetUp() override { app.combo1.text = "127.0.0.1"; }
    void ServerAhead(int delta) {
        const int t = 21 * 3600 + 54 * 60 + 19 + delta;
        const int s = t % 86400;
        app.Exchange(fake::NistReply(26, 12, 5 + t / 86400, s / 3600, s / 60 % 60, s % 60));
    }
    // The last n lines of the activity list.
    Lines Last(long n) const { return Lines(app.List().end() - n, app.List().end()); }
    fake::FakeApp app;
};

TEST_F(Correction, ClockFiveSecondsSlowIsSetAndRecorded) {
    ServerAhead(5);
    EXPECT_EQ(Last(7), (Lines{"   closing connection", "   sockets closed",
                              "   beginning system clock synchronization",
                              "      NTP value ():         \t2026-12-05 22:54:24",
                              "      system date (local) : \t2026-12-05 22:54:19",
                              "      Time difference:      \t\t   00:00:05 (Slow)",
                              "clock synchronised succesfully"}));
    EXPECT_EQ(app.window.caption, "QLOK 2026-12-05 22:54:24 00:00:05 (Slow)");
    ASSERT_EQ(app.clock.setCalls.size(), 1u);
    EXPECT_EQ(app.clock.setCalls[0], (SystemTimeRecord{2026, 12, 0, 5, 21, 54, 24, 0}));
    EXPECT_EQ(app.list1.topIndex, app.list1.NewIndex());
    EXPECT_EQ(app.History(), "2026-12-05 22:54:19 00:00:05 (Slow) ok\r\n");
    EXPECT_EQ(app.files.openFiles, 0);
    EXPECT_EQ(app.winsock1.closes, 1);
}

// Clocks less than two seconds apart in total, whole days included, are left alone: no
// setting, no history, no caption.
TEST_F(Correction, OnlyOffsetsUnderTwoSecondsInTotalCountAsInStep) {
    Lines seen;  // per case the difference listed, and "set" when the clock was set
    for (const int serverAhead : {0, 1, -1, 2, -5, 3601, -3723, 86401, 86405}) {
        app.files.files.clear();
        app.clock.setCalls.clear();
        app.window.caption = "QLOK earlier report";
        ServerAhead(serverAhead);
        const bool set = !app.clock.setCalls.empty();
        const std::string line = Last(set ? 2 : 1)[0];
        seen.push_back(line.substr(line.find("\t\t   ") + 5) + (set ? " set" : ""));
        EXPECT_EQ(app.History().empty(), !set) << serverAhead;
        EXPECT_EQ(app.form.OffsetDirection.empty(), !set) << serverAhead;
        EXPECT_EQ(app.window.caption == "QLOK earlier report", !set) << serverAhead;
    }
    EXPECT_EQ(seen, (Lines{"00:00:00", "00:00:01", "00:00:01", "00:00:02 (Slow) set",
                           "00:00:05 (Fast) set", "01:00:01 (Slow) set", "01:02:03 (Fast) set",
                           "1899-12-29 00:00:01 (Slow) set", "1899-12-29 00:00:05 (Slow) set"}));
}

TEST_F(Correction, RefusedClockIsListedWithItsReasonAndRecordedInTheRegionalFormats) {
    app.clock.refuse = true;
    app.regional.formats = fake::FakeRegional::American();
    ServerAhead(86405);
    EXPECT_EQ(Last(2), (Lines{"SetSystemTime failed. Clock not synchronised",
                              "      reason: Operation not permitted"}));
    EXPECT_EQ(app.list1.topIndex, -1);
    EXPECT_EQ(app.History(), "12/05/2026 10:54:19 PM 12/29/1899 12:00:05 AM (Slow) failed\r\n");
    EXPECT_EQ(app.window.caption, "QLOK 12/06/2026 10:54:24 PM 12/29/1899 12:00:05 AM (Slow)");
}

// No reply, a reply in another layout, or a history that cannot be opened: nothing is set.
TEST_F(Correction, NothingIsSetWithoutAReplyADateOrAHistory) {
    app.form.Command1_Click();
    app.Connected();
    app.ServerCloses();
    EXPECT_EQ(Last(3),
              (Lines{"   winsock connection made", "   closing connection", "   sockets closed"}));
    app.Exchange(std::string(51, 'x'));
    EXPECT_EQ(Last(1)[0], "      reply holds no valid date and time: 20xxxxxxxx xxxxxxxx");
    EXPECT_EQ(app.window.caption, "QLOK");
    app.files.readOnly = true;
    ServerAhead(5);
    EXPECT_EQ(Last(1)[0], "      Time difference:      \t\t   00:00:05 (Slow)");
    EXPECT_TRUE(app.clock.setCalls.empty());
    EXPECT_EQ(app.History(), "");
}

TEST_F(Correction, FullDiskIsListedAndTheHistoryStillClosed) {
    app.files.diskFull = true;
    ServerAhead(5);
    EXPECT_EQ(app.clock.setCalls.size(), 1u);
    EXPECT_EQ(Last(2), (Lines{"clock synchronised succesfully",
                              "      the history line could not be written to QLOK.log: No "
                              "space left on device"}));
    EXPECT_EQ(app.files.openFiles, 0);
}

}  // namespace
}  // namespace qlok
