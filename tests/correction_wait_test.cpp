// Timer ticks and socket events that come while the clock is being set (a password prompt)
// wait until the correction is over, and then run in order.
#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

TEST(CorrectionWait, EventsDuringTheSettingRunAfterItInOrderAndStoppedTicksStayStopped) {
    fake::FakeApp app;
    app.Load();
    app.form.Command3_Click();         // repeat mode
    app.form.SecondsToNextMinute = 2;  // the next tick counts a minute down
    const std::string reply = fake::NistReply(26, 12, 5, 21, 54, 24);  // the clock is 5 s slow
    std::size_t linesDuring = 0;
    app.clock.whileSetting = [&] {
        app.form.Timer1_Timer();
        app.form.Winsock1_Connect();
        linesDuring = app.List().size();
        EXPECT_EQ(app.countDown.text, "240");
    };
    app.Exchange(reply);
    EXPECT_EQ(app.List().size(), linesDuring + 2);
    EXPECT_EQ(app.List()[linesDuring], "clock synchronised succesfully");
    EXPECT_EQ(app.List().back(), "   winsock connection made");
    EXPECT_EQ(app.window.caption, "QLOK 2026-12-05 22:54:24 00:00:05 (Slow) Sync in 239 Mins");
    EXPECT_EQ(app.form.Outcome(), SyncOutcome::Set);

    // Two minutes of waiting; the first full minute stops repeat mode, the ticks after it are
    // dropped with it.
    app.countDown.text = "x";
    app.clock.whileSetting = [&] {
        for (int tick = 0; tick < 120; ++tick) {
            app.form.Timer1_Timer();
        }
    };
    app.Exchange(reply);
    EXPECT_EQ(app.command3.text, "Repeat");
    EXPECT_EQ(app.countDown.text, "240");  // the minutes saved, and no later tick counted them
}

}  // namespace
}  // namespace qlok
