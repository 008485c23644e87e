// Timer ticks and socket events that come while the clock is being set (a password prompt)
// wait until the correction is over, and then run in order.
#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

// A reply that finds the clock 5 s slow.
const std::string kSlow = fake::NistReply(26, 12, 5, 21, 54, 24);

// Repeat mode with its next tick counting a minute down.
void StartRepeating(fake::FakeApp& app) {
    app.Load();
    app.form.Command3_Click();
    app.form.SecondsToNextMinute = 2;
}

TEST(CorrectionWait, EventsDuringTheSettingRunAfterItInOrder) {
    fake::FakeApp app;
    StartRepeating(app);
    std::size_t linesDuring = 0;
    app.clock.whileSetting = [&] {
        app.form.Timer1_Timer();
        app.form.Winsock1_Connect();
        linesDuring = app.List().size();
        EXPECT_EQ(app.countDown.text, "240");
    };
    app.Exchange(kSlow);
    EXPECT_EQ(app.List().size(), linesDuring + 2);
    EXPECT_EQ(app.List()[linesDuring], "clock synchronised succesfully");
    EXPECT_EQ(app.List().back(), "   winsock connection made");
    EXPECT_EQ(app.window.caption, "QLOK 2026-12-05 22:54:24 00:00:05 (Slow) Sync in 239 Mins");
}

// Two minutes of waiting; the first full minute stops repeat mode, the ticks after it are
// dropped with it.
TEST(CorrectionWait, TicksAfterADeferredStopStayStopped) {
    fake::FakeApp app;
    StartRepeating(app);
    app.countDown.text = "x";
    app.clock.whileSetting = [&] {
        for (int tick = 0; tick < 120; ++tick) {
            app.form.Timer1_Timer();
        }
    };
    app.Exchange(kSlow);
    EXPECT_EQ(app.command3.text, "Repeat");
    EXPECT_EQ(app.countDown.text, "240");  // the minutes saved, and no later tick counted them
}

// The clock is set to the server's second plus the whole seconds since the reply's first byte,
// measured when it is really set: a server that closes late or a prompt that takes its time
// leaves the clock neither behind nor ahead.
TEST(CorrectionWait, TheClockIsCarriedForwardByTheWholeSecondsSinceTheFirstByte) {
    // The case; microseconds before the reply's second piece, before the close and in the
    // setting; the second the clock is set to (21:54:second).
    const std::tuple<const char*, std::int64_t, std::int64_t, std::int64_t, std::uint16_t> runs[] =
        {{"close at once", 0, 0, 0, 24},
         {"close 10 s late", 0, 10'000'000, 0, 34},
         {"a prompt of 3 s", 0, 0, 3'000'000, 27},
         {"0.9 s late, 0.9 s prompt", 0, 900'000, 900'000, 25},
         {"two pieces 0.6 s apart, close 0.6 s later", 600'000, 600'000, 0, 25}};
    for (const auto& [name, beforeSecondPiece, beforeClose, settingWaits, second] : runs) {
        SCOPED_TRACE(name);
        fake::FakeApp app;
        app.clock.whileSetting = [&] { app.clock.monotonic += settingWaits; };
        app.form.Command1_Click();
        app.Connected();
        const ClockReading firstByte = app.clock.PreciseNow();
        app.Receive(kSlow.substr(0, 30));
        app.clock.monotonic += beforeSecondPiece;
        app.Receive(kSlow.substr(30));
        app.clock.monotonic += beforeClose;
        app.ServerCloses();
        ASSERT_EQ(app.clock.setCalls.size(), 1u);
        EXPECT_EQ(app.clock.arrivals[0], firstByte);
        EXPECT_EQ(app.clock.setCalls[0], (SystemTimeRecord{2026, 12, 0, 5, 21, 54, second, 0}));
    }
}

}  // namespace
}  // namespace qlok
