#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using fake::FakeRegional;
using fake::NistReply;
using Lines = std::vector<std::string>;

// The fake clock reads 2026-12-05 22:54:19 local, one hour ahead of UTC; a server whose UTC
// time is 21:54:19 + delta seconds finds the local clock delta seconds slow.
class Correction : public ::testing::Test {
  protected:
    void SetUp() override {
        app.files.files["QLOK servers.ini"] = "127.0.0.1";
        app.Load();
    }
    void ExchangeWithServerAhead(int delta) {
        const int t = 21 * 3600 + 54 * 60 + 19 + delta;
        const int day = 5 + t / 86400;
        const int s = t % 86400;
        app.Exchange(NistReply(26, 12, day, s / 3600, s / 60 % 60, s % 60));
    }
    // The lines after the data line.
    Lines Tail() const {
        const Lines& list = app.List();
        return Lines(list.begin() + 4, list.end());
    }
    FakeApp app;
};

TEST_F(Correction, ClockFiveSecondsSlowIsSetAndRecorded) {
    ExchangeWithServerAhead(5);
    EXPECT_EQ(Tail(), (Lines{"   closing connection", "   sockets closed",
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
    EXPECT_EQ(app.files.closes, app.files.opens);
    EXPECT_EQ(app.winsock1.closes, 1);
}

TEST_F(Correction, OnlyOffsetsUnderTwoSecondsInTotalCountAsInStep) {
    struct Case {
        int serverAhead;
        bool corrected;
        const char* difference;  // the end of the time-difference line
    };
    for (const Case c : {Case{0, false, "00:00:00"},
                         {1, false, "00:00:01"},
                         {-1, false, "00:00:01"},
                         {2, true, "00:00:02 (Slow)"},
                         {-5, true, "00:00:05 (Fast)"},
                         {3601, true, "01:00:01 (Slow)"},
                         {-3723, true, "01:02:03 (Fast)"},
                         {86401, true, "1899-12-29 00:00:01 (Slow)"},  // whole days count too
                         {86405, true, "1899-12-29 00:00:05 (Slow)"}}) {
        SCOPED_TRACE(c.serverAhead);
        app.files.files.erase("QLOK.log");
        app.clock.setCalls.clear();
        app.window.caption = "QLOK earlier report";
        ExchangeWithServerAhead(c.serverAhead);
        const Lines tail = Tail();
        ASSERT_GE(tail.size(), 6u);
        EXPECT_EQ(tail[5], std::string("      Time difference:      \t\t   ") + c.difference);
        EXPECT_EQ(app.clock.setCalls.size(), c.corrected ? 1u : 0u);
        EXPECT_EQ(app.files.files.contains("QLOK.log"), c.corrected);
        EXPECT_EQ(tail.size(), c.corrected ? 7u : 6u);
        if (c.corrected) {
            EXPECT_NE(app.window.caption, "QLOK earlier report");
            EXPECT_TRUE(app.window.caption.ends_with(c.difference)) << app.window.caption;
        } else {
            EXPECT_EQ(app.window.caption, "QLOK earlier report");
            EXPECT_EQ(app.form.OffsetDirection, "");
        }
    }
}

TEST_F(Correction, RefusedClockIsListedWithItsReasonAndRecordedAsFailed) {
    app.clock.refuse = true;
    app.regional.formats = FakeRegional::British();
    ExchangeWithServerAhead(-3723);
    EXPECT_EQ(app.List().end()[-2], "SetSystemTime failed. Clock not synchronised");
    EXPECT_EQ(app.List().back(), "      reason: Operation not permitted");
    EXPECT_EQ(app.list1.scrolls, 0);
    EXPECT_EQ(app.History(), "05/12/2026 22:54:19 01:02:03 (Fast) failed\r\n");
}

TEST_F(Correction, HistoryFollowsATwelveHourClock) {
    app.regional.formats = FakeRegional::American();
    ExchangeWithServerAhead(86405);
    EXPECT_EQ(app.History(), "12/05/2026 10:54:19 PM 12/29/1899 12:00:05 AM (Slow) ok\r\n");
    EXPECT_EQ(app.window.caption, "QLOK 12/06/2026 10:54:24 PM 12/29/1899 12:00:05 AM (Slow)");
}

TEST_F(Correction, EmptyBufferAtTheCloseAddsTwoLinesOnly) {
    app.form.Command1_Click();
    app.Connected();
    app.ServerCloses();
    EXPECT_EQ(app.List(),
              (Lines{"target: 127.0.0.1", "opening connection", "   winsock connection made",
                     "   closing connection", "   sockets closed"}));
    EXPECT_EQ(app.window.caption, "QLOK");
}

TEST_F(Correction, ReplyInAnotherLayoutSetsNothing) {
    std::string reply(51, 'x');
    app.Exchange(reply);
    EXPECT_EQ(app.List().back(), "      reply holds no valid date and time: 20xxxxxxxx xxxxxxxx");
    EXPECT_TRUE(app.clock.setCalls.empty());
    EXPECT_FALSE(app.files.files.contains("QLOK.log"));
    EXPECT_EQ(app.window.caption, "QLOK");
}

TEST_F(Correction, HistoryThatCannotBeOpenedStopsBeforeTheClock) {
    app.files.readOnly = true;
    ExchangeWithServerAhead(5);
    EXPECT_TRUE(app.clock.setCalls.empty());
    EXPECT_EQ(app.List().back(), "      Time difference:      \t\t   00:00:05 (Slow)");
}

TEST_F(Correction, FullDiskStillClosesTheHistoryAndLaterAppendsWork) {
    app.files.diskFull = true;
    ExchangeWithServerAhead(5);
    EXPECT_EQ(app.clock.setCalls.size(), 1u);
    EXPECT_EQ(app.List().end()[-2], "clock synchronised succesfully");
    EXPECT_EQ(app.List().back(),
              "      the history line could not be written to QLOK.log: No space left on device");
    EXPECT_EQ(app.files.closes, 1);
    app.files.diskFull = false;
    ExchangeWithServerAhead(5);
    EXPECT_EQ(app.History(), "2026-12-05 22:54:19 00:00:05 (Slow) ok\r\n");
    EXPECT_EQ(app.files.closes, 2);
}

TEST_F(Correction, ServerTimeIsShownWithTheZoneInForceNow) {
    struct Case {
        long offset;
        const char* local;
    };
    for (const Case c : {Case{19800, "2026-12-06 03:24:19"},
                         {20700, "2026-12-06 03:39:19"},
                         {-36000, "2026-12-05 11:54:19"},
                         {0, "2026-12-05 21:54:19"}}) {
        app.clock.utcOffset = c.offset;
        EXPECT_EQ(app.form.ToLocalTimeText("2026-12-05 21:54:19"), c.local);
    }
    EXPECT_EQ(app.form.ToLocalTimeText("20 "), "");
}

}  // namespace
}  // namespace qlok
