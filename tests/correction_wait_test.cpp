// Timer ticks and socket events that come while the clock is being set (a password prompt)
// wait until the correction is over, and then run in order.
#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

class CorrectionWait : public ::testing::Test {
  protected:
    void SetUp() override {
        app.files.files["QLOK servers.ini"] = "127.0.0.1";
        app.Load();
        app.form.Command3_Click();  // repeat mode
    }
    // The local clock is 5 s slow, so the clock is set.
    void ExchangeAndSet() { app.Exchange(fake::NistReply(26, 12, 5, 21, 54, 24)); }
    fake::FakeApp app;
};

TEST_F(CorrectionWait, EventsDuringTheSettingRunAfterTheOutcomeInTheirOrder) {
    app.form.SecondsToNextMinute = 2;  // the next tick counts a minute down
    std::size_t linesDuring = 0;
    app.clock.whileSetting = [&] {
        app.form.Timer1_Timer();
        app.form.Winsock1_Connect();
        linesDuring = app.List().size();
        EXPECT_EQ(app.countDown.text, "240");
    };
    ExchangeAndSet();
    EXPECT_EQ(app.List().size(), linesDuring + 2);
    EXPECT_EQ(app.List()[linesDuring], "clock synchronised succesfully");
    EXPECT_EQ(app.List().back(), "   winsock connection made");
    EXPECT_EQ(app.History(), "2026-12-05 22:54:19 00:00:05 (Slow) ok\r\n");
    EXPECT_EQ(app.countDown.text, "239");
    EXPECT_EQ(app.window.caption, "QLOK 2026-12-05 22:54:24 00:00:05 (Slow) Sync in 239 Mins");
    EXPECT_EQ(app.form.Outcome(), SyncOutcome::Set);
}

TEST_F(CorrectionWait, KeptTicksStopOnceAnEarlierOneStoppedRepeatMode) {
    app.countDown.text = "x";  // the first full minute stops repeat mode
    app.clock.whileSetting = [&] {
        for (int tick = 0; tick < 120; ++tick) {  // two minutes of waiting
            app.form.Timer1_Timer();
        }
    };
    ExchangeAndSet();
    EXPECT_EQ(app.command3.caption, "Repeat");
    EXPECT_EQ(app.countDown.text, "240");  // the minutes saved, and no later tick counted them
}

}  // namespace
}  // namespace qlok
