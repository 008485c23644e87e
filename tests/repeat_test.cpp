#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/menu.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using fake::FakeRegional;

// Loads a window with the caption given and starts repeat mode with the minutes given.
void Start(FakeApp& app, const std::string& minutes, const std::string& caption = "T") {
    app.Load();
    app.window.caption = caption;
    app.countDown.text = minutes;
    app.form.Command3_Click();
}

// n ticks; in each step of 59, 58 ticks change nothing and the last is the step.
void Ticks(FakeApp& app, int n = 59) {
    const auto state = [&app] {
        return app.window.caption + "|" + app.countDown.text + "|" +
               std::to_string(app.winsock1.connects);
    };
    for (int i = 0; i < n; ++i) {
        const std::string before = state();
        ASSERT_TRUE(app.timer1.enabled) << "tick " << i;
        app.clock.monotonic += 1'000'000;
        app.form.Timer1_Timer();
        ASSERT_TRUE(i % 59 == 58 || state() == before) << "tick " << i << ": " << state();
    }
}

// Two cycles of steps; the step that brings the count to zero or below puts the minutes back,
// resyncs and starts the timer afresh. Each step's count replaces the caption from its first
// " Sync in " on, and in the tray the tooltip follows; outside it the icon is left alone. A
// resync that fails at once does not stop repeat mode.
TEST(Repeat, CountdownTimeline) {
    // The minutes, the caption, what stays of it, the count after each step of a cycle.
    const std::tuple<std::string, std::string, std::string, std::vector<std::string>> cases[] = {
        {"2", "A sync in 7 Mins", "A sync in 7 Mins", {"1", "0"}},
        {"1", "A Sync in B Sync in C", "A", {"0"}},
        {"-3", " Sync in ", "", {"-4"}},
        {"2.5", "A Sync inB", "A Sync inB", {"1.5", "0.5", "-0.5"}},
        {"2,5", "", "", {"1,5", "0,5", "-0,5"}}};  // under German formats
    for (const auto& [start, caption, kept, counts] : cases) {
        SCOPED_TRACE(start);
        FakeApp app;
        app.regional.formats = start == "2,5" ? FakeRegional::German() : FakeRegional::Iso24();
        Start(app, start, caption);
        EXPECT_EQ(app.timer1.interval, 1000);  // a tick a second
        for (const bool inTray : {false, true}) {
            SCOPED_TRACE(inTray ? "in the tray" : "in the window");
            if (inTray) {
                app.windowMenu.Send(0, win::kWmSysCommand, Menu::MenuIdMinToTray, 0);
            }
            for (const std::string& count : counts) {
                SCOPED_TRACE(count);
                const bool last = &count == &counts.back();
                app.timer1.enableCalls.clear();
                app.tray.calls.clear();
                Ticks(app);
                EXPECT_EQ(app.window.caption, kept + " Sync in " + count + " Mins");
                EXPECT_EQ(app.countDown.text, last ? start : count);
                EXPECT_EQ(app.winsock1.connects, (inTray ? 1 : 0) + (last ? 1 : 0));
                EXPECT_EQ(app.timer1.enableCalls.size(), last ? 2u : 0u);
                ASSERT_EQ(app.tray.calls.size(), inTray ? 2u : 0u);  // a delete and an add
                EXPECT_TRUE(!inTray ||
                            app.tray.calls[1].second.szTip.starts_with(app.window.caption + '\0'));
            }
        }
    }
}

// The count goes on from an edit, but the minutes saved at the start come back; a stop shows
// them; a restart, even in the middle of a step, waits a full step and keeps the old suffix.
TEST(Repeat, EditsStopsAndRestarts) {
    FakeApp app;
    Start(app, "3");
    Ticks(app);
    app.countDown.text = "5";
    Ticks(app);
    EXPECT_EQ(app.window.caption, "T Sync in 4 Mins");
    app.countDown.text = "1";
    Ticks(app);
    EXPECT_EQ(app.window.caption + "|" + app.countDown.text, "T Sync in 0 Mins|3");
    Ticks(app, 30);
    app.countDown.text = "9";
    app.form.Command3_Click();
    EXPECT_EQ(app.command3.text + "|" + app.countDown.text, "Repeat|3");
    EXPECT_FALSE(app.timer1.enabled);
    app.countDown.text = "5";
    app.form.Command3_Click();
    Ticks(app);
    EXPECT_EQ(app.window.caption, "T Sync in 4 Mins");
    EXPECT_EQ(app.winsock1.connects, 1);
}

// A step on a minutes box without a number (what is one: the Numbers test) stops repeat mode,
// says why and puts the saved minutes back.
TEST(Repeat, MinutesBoxWithoutANumberAtAStepStopsRepeatAndSaysWhy) {
    FakeApp app;
    Start(app, "3");
    Ticks(app);
    app.countDown.text = "abc";
    Ticks(app);
    EXPECT_EQ(app.command3.text + "|" + app.countDown.text + "|" + app.window.caption,
              "Repeat|3|T Sync in 2 Mins");  // stopped as Stop Repeat stops it
    EXPECT_EQ(app.winsock1.connects, 0);
    EXPECT_EQ(app.List().back(), "repeat stopped: the minutes box holds no number (\"abc\")");
}

// In repeat mode a wake resyncs once, 30 s later, however many wakes came meanwhile, and a full
// step later the countdown goes on from the saved minutes; out of repeat mode a wake does nothing.
TEST(Repeat, AWakeFromSleepResyncsOnce30SecondsLater) {
    FakeApp app;
    Start(app, "5");
    Ticks(app, 59 + 30);
    app.form.Resumed();
    app.form.Resumed();
    EXPECT_EQ(app.wakeDelay.milliseconds, 30'000);
    EXPECT_EQ(app.wakeDelay.starts + app.winsock1.connects, 1);
    app.wakeDelay.Fire();
    EXPECT_EQ(app.winsock1.connects, 1);
    Ticks(app);
    EXPECT_EQ(app.countDown.text, "4");
    app.form.Command3_Click();
    app.form.Resumed();
    EXPECT_EQ(app.wakeDelay.starts, 1) << "a wake out of repeat mode";
}

}  // namespace
}  // namespace qlok
