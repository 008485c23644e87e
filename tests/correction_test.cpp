#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

using Lines = std::vector<std::string>;

// The fake clock reads 2026-12-05 22:54:19 local, one hour ahead of UTC; a server whose UTC
// time is 21:54:19 + delta seconds finds the local clock delta seconds slow.
class Correction : public ::testing::Test {
  protected:
    void ServerAhead(int delta) {
        const int t = 21 * 3600 + 54 * 60 + 19 + delta;
        const int s = t % 86400;
        app.Exchange(fake::NistReply(26, 12, 5 + t / 86400, s / 3600, s / 60 % 60, s % 60));
    }
    // The last n lines of the activity list.
    Lines Last(long n) const { return Lines(app.List().end() - n, app.List().end()); }
    fake::FakeApp app;
};

// A slow clock is set, listed and recorded (where it is set to: correction_wait_test.cpp).
TEST_F(Correction, SlowClockIsSetListedAndRecorded) {
    ServerAhead(5);
    EXPECT_EQ(Last(7), (Lines{"   closing connection", "   sockets closed",
                              "   beginning system clock synchronization",
                              "      NTP value ():         \t2026-12-05 22:54:24",
                              "      system date (local) : \t2026-12-05 22:54:19",
                              "      Time difference:      \t\t   00:00:05 (Slow)",
                              "clock synchronised succesfully"}));
    EXPECT_EQ(app.list1.topIndex, app.list1.NewIndex());
    EXPECT_EQ(app.History(), "2026-12-05 22:54:19 00:00:05 (Slow) ok\r\n");
}

// A history line that cannot be written (the folder may not be written, the disk is full) keeps
// no clock from being set; the list says why, the file is closed, and the fragment a full disk
// leaves is ended in the next append, so that no line starts glued to it.
TEST_F(Correction, AHistoryLineThatCannotBeWrittenStopsNothingAndLeavesNoGluedLine) {
    const std::string set = "clock synchronised succesfully";
    const std::string notWritten = "      the history line could not be written to QLOK.log: ";
    app.files.readOnly = true;
    ServerAhead(5);
    EXPECT_EQ(Last(2), (Lines{set, notWritten + "Permission denied"}));
    app.files.readOnly = false;
    app.files.diskFull = true;
    ServerAhead(5);
    EXPECT_EQ(Last(2), (Lines{set, notWritten + "No space left on device"}));
    EXPECT_EQ(app.files.openFiles, 0);
    app.files.diskFull = false;
    ServerAhead(5);
    const std::string line = "2026-12-05 22:54:19 00:00:05 (Slow) ok\r\n";
    EXPECT_EQ(app.History(), line.substr(0, 20) + "\r\n" + line);
}

// Clocks less than two seconds apart in total, whole days included, are left alone: no
// setting, no caption (and no history: the in-step runs of the end-to-end scripts).
TEST_F(Correction, OnlyOffsetsUnderTwoSecondsInTotalCountAsInStep) {
    Lines seen;  // per case the difference listed, and "set" when the clock was set
    for (const int serverAhead : {0, 1, -1, 2, -5, 3601, -3723, 86401, 86405}) {
        app.clock.setCalls.clear();
        app.window.caption = "QLOK earlier report";
        ServerAhead(serverAhead);
        const bool set = !app.clock.setCalls.empty();
        const std::string line = Last(set ? 2 : 1)[0];
        seen.push_back(line.substr(line.find("\t\t   ") + 5) + (set ? " set" : ""));
        EXPECT_EQ(app.window.caption == "QLOK earlier report", !set) << serverAhead;
    }
    EXPECT_EQ(seen, (Lines{"00:00:00", "00:00:01", "00:00:01", "00:00:02 (Slow) set",
                           "00:00:05 (Fast) set", "01:00:01 (Slow) set", "01:02:03 (Fast) set",
                           "1899-12-29 00:00:01 (Slow) set", "1899-12-29 00:00:05 (Slow) set"}));
}

// The reason's detail follows on lines of its own, cut at blanks to fit the window, and a word
// wider than the window outside a UTF-8 character.
TEST_F(Correction, RefusedClockIsListedWithItsReasonAndRecordedInTheRegionalFormats) {
    const std::string word = std::string(59, 'x') + "\xc3\xa9yz";  // e acute at 59 and 60
    app.clock.refuse = true;
    app.clock.refusal =
        "not permitted\r\nThe system keeps its clock to itself, and this detail runs " + word;
    app.regional.formats = fake::FakeRegional::American();
    ServerAhead(86405);
    EXPECT_EQ(Last(5),
              (Lines{"SetSystemTime failed. Clock not synchronised", "      reason: not permitted",
                     "      The system keeps its clock to itself, and this detail runs",
                     "      " + word.substr(0, 59), "      \xc3\xa9yz"}));
    EXPECT_EQ(app.list1.topIndex, fake::FakeList::kNeverScrolled);
    EXPECT_EQ(app.History(), "12/05/2026 10:54:19 PM 12/29/1899 12:00:05 AM (Slow) failed\r\n");
    EXPECT_EQ(app.window.caption,
              "QLOK 12/06/2026 10:54:24 PM 12/29/1899 12:00:05 AM (Slow) failed");
}

// No reply, or one that is not exactly a date and time (the NIST line a byte out of place, a
// blank for a digit, other separators, 30 February), or one cut short after its date and time:
// nothing is set, nothing written.
TEST_F(Correction, NothingIsSetWithoutAValidReply) {
    app.form.Command1_Click();
    app.Connected();
    app.ServerCloses();
    EXPECT_EQ(Last(3),
              (Lines{"   winsock connection made", "   closing connection", "   sockets closed"}));
    for (const auto& [reply, buffer] :
         {std::pair{fake::NistReply(26, 12, 5, 21, 54, 19).substr(1) + " ", "206-12-05  1:54:19 "},
          {fake::NistReply(26, 12, 5, 21, 54, 19).replace(7, 1, " "), "20 6-12-05 21:54:19"},
          {fake::NistReply(26, 12, 5, 21, 54, 19).replace(9, 1, "/"), "2026/12-05 21:54:19"},
          {fake::NistReply(26, 12, 5, 21, 54, 19).replace(18, 1, "."), "2026-12-05 21.54:19"},
          {fake::NistReply(26, 2, 30, 1, 2, 3), "2026-02-30 01:02:03"}}) {
        SCOPED_TRACE(buffer);
        app.Exchange(reply);
        EXPECT_EQ(Last(1)[0], std::string("      reply holds no valid date and time: ") + buffer);
    }
    app.Exchange(fake::NistReply(26, 12, 5, 21, 54, 24).substr(0, 50));
    EXPECT_EQ(Last(3), (Lines{"      incorrect data received - try again", "   closing connection",
                              "   sockets closed"}));
    EXPECT_EQ(app.window.caption, "QLOK");
    EXPECT_TRUE(app.clock.setCalls.empty());
    EXPECT_EQ(app.History(), "");
}

// A server that reports itself unwell (a digit other than 0 at position 31) sets nothing, and
// the caption says so; with no digit there it counts as well.
TEST_F(Correction, AnUnwellServerSetsNothing) {
    std::string reply = fake::NistReply(26, 12, 5, 21, 54, 24);
    reply[30] = '1';
    app.Exchange(reply);
    EXPECT_EQ(Last(1)[0], "      server reports itself unhealthy (health 1) - clock not set");
    EXPECT_TRUE(app.clock.setCalls.empty());
    EXPECT_EQ(app.History(), "");
    EXPECT_EQ(app.window.caption, "QLOK 2026-12-05 22:54:24 00:00:05 (Slow) not set");
    reply[30] = 'x';
    app.Exchange(reply);
    EXPECT_EQ(app.clock.setCalls.size(), 1u) << "no digit";
}

}  // namespace
}  // namespace qlok
