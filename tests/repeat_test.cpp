#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/menu.h"
#include "desktop/systray.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using fake::FakeRegional;

// Loads a window with the caption "T" and starts repeat mode with the given minutes.
void Start(FakeApp& app, const std::string& minutes,
           const RegionalFormats& formats = FakeRegional::Iso24()) {
    app.regional.formats = formats;
    app.Load();
    app.window.caption = "T";
    app.countDown.text = minutes;
    app.form.Command3_Click();
}

// n ticks of the running timer.
void Tick(FakeApp& app, int n) {
    for (int i = 0; i < n; ++i) {
        ASSERT_TRUE(app.timer1.enabled) << "tick " << i;
        app.form.Timer1_Timer();
    }
}

// 58 ticks that change nothing, then the tick of a step.
void TickToStep(FakeApp& app) {
    const std::string caption = app.window.caption;
    const std::string count = app.countDown.text;
    const int connects = app.winsock1.connects;
    Tick(app, 58);
    EXPECT_EQ(app.window.caption, caption);
    EXPECT_EQ(app.countDown.text, count);
    EXPECT_EQ(app.winsock1.connects, connects);
    Tick(app, 1);
}

TEST(Repeat, WorkedTimelineForTwoMinutes) {
    FakeApp app;
    Start(app, "2");
    EXPECT_EQ(app.command3.caption, "Stop Repeat");
    EXPECT_EQ(app.timer1.interval, 1000);
    EXPECT_EQ(app.timer1.enableCalls, std::vector<bool>{true});
    EXPECT_EQ(app.window.caption, "T");
    for (int cycle = 1; cycle <= 2; ++cycle) {
        SCOPED_TRACE(cycle);
        TickToStep(app);
        EXPECT_EQ(app.countDown.text, "1");
        EXPECT_EQ(app.window.caption, "T Sync in 1 Mins");
        EXPECT_EQ(app.winsock1.connects, cycle - 1);

        app.timer1.enableCalls.clear();
        TickToStep(app);
        EXPECT_EQ(app.window.caption, "T Sync in 0 Mins");
        EXPECT_EQ(app.countDown.text, "2");
        EXPECT_EQ(app.winsock1.connects, cycle);  // the Resync ran
        EXPECT_EQ(app.timer1.enableCalls, (std::vector<bool>{false, true}));
        EXPECT_TRUE(app.timer1.enabled);
        EXPECT_EQ(app.command3.caption, "Stop Repeat");
    }
}

TEST(Repeat, CountsDownEachStepAndExpiresAtZeroOrBelow) {
    struct Case {
        std::string start;
        RegionalFormats formats;
        std::vector<std::string> steps;  // the count after each step; the last one expires
    };
    const RegionalFormats dot = FakeRegional::Iso24();
    const RegionalFormats comma = FakeRegional::German();
    for (const Case& c : {Case{"1", dot, {"0"}},
                          {"0", dot, {"-1"}},
                          {"-3", dot, {"-4"}},
                          {"2.5", dot, {"1.5", "0.5", "-0.5"}},
                          {"2,5", comma, {"1,5", "0,5", "-0,5"}}}) {
        SCOPED_TRACE(c.start);
        FakeApp app;
        Start(app, c.start, c.formats);
        int ticks = 0;
        for (int cycle = 1; cycle <= 2; ++cycle) {
            for (std::size_t step = 0; step < c.steps.size(); ++step) {
                for (int i = 0; i < 59; ++i, ++ticks) {
                    ASSERT_EQ(app.winsock1.connects, cycle - 1) << "tick " << ticks;
                    app.form.Timer1_Timer();
                }
                const bool last = step + 1 == c.steps.size();
                EXPECT_EQ(app.window.caption, "T Sync in " + c.steps[step] + " Mins");
                EXPECT_EQ(app.countDown.text, last ? c.start : c.steps[step]);
                EXPECT_EQ(app.winsock1.connects, last ? cycle : cycle - 1);
            }
        }
        EXPECT_EQ(ticks, 2 * 59 * static_cast<int>(c.steps.size()));  // 177 per cycle for 2.5
        EXPECT_TRUE(app.timer1.enabled);
    }
}

TEST(Repeat, EditingWhileRunningCountsFromTheEditButRestoresTheSavedPeriod) {
    FakeApp app;
    Start(app, "3");
    TickToStep(app);
    EXPECT_EQ(app.countDown.text, "2");
    app.countDown.text = "5";
    TickToStep(app);
    EXPECT_EQ(app.window.caption, "T Sync in 4 Mins");
    app.countDown.text = "1";
    TickToStep(app);
    EXPECT_EQ(app.window.caption, "T Sync in 0 Mins");
    EXPECT_EQ(app.countDown.text, "3");
    EXPECT_EQ(app.winsock1.connects, 1);

    app.countDown.text = "9";
    app.form.Command3_Click();
    EXPECT_EQ(app.command3.caption, "Repeat");
    EXPECT_EQ(app.countDown.text, "3");
    EXPECT_FALSE(app.timer1.enabled);
}

TEST(Repeat, RestartAfterAStopWaitsAFullStepAndKeepsTheOldSuffixUntilThen) {
    FakeApp app;
    Start(app, "3");
    TickToStep(app);
    Tick(app, 30);
    app.form.Command3_Click();
    EXPECT_EQ(app.window.caption, "T Sync in 2 Mins");
    EXPECT_FALSE(app.timer1.enabled);

    app.countDown.text = "5";
    app.form.Command3_Click();
    Tick(app, 58);
    EXPECT_EQ(app.window.caption, "T Sync in 2 Mins");
    EXPECT_EQ(app.countDown.text, "5");
    Tick(app, 1);
    EXPECT_EQ(app.window.caption, "T Sync in 4 Mins");
}

TEST(Repeat, CaptionSuffixReplacesEverythingFromTheFirstSyncIn) {
    struct Case {
        const char* caption;
        const char* after;
    };
    for (const Case c : {Case{"A Sync in B Sync in C", "A Sync in 2 Mins"},
                         {" Sync in ", " Sync in 2 Mins"},
                         {"A sync in 7 Mins", "A sync in 7 Mins Sync in 2 Mins"},
                         {"A Sync inB", "A Sync inB Sync in 2 Mins"},
                         {"", " Sync in 2 Mins"}}) {
        FakeApp app;
        Start(app, "3");
        app.window.caption = c.caption;
        Tick(app, 59);
        EXPECT_EQ(app.window.caption, c.after) << c.caption;
    }
}

TEST(Repeat, InTheTrayTheTooltipFollowsEachStep) {
    FakeApp app;
    Start(app, "2");
    app.windowMenu.Send(0, win::kWmSysCommand, Menu::MenuIdMinToTray, 0);
    ASSERT_EQ(app.tray.calls.size(), 1u);
    for (const char* count : {"1", "0"}) {
        const std::size_t before = app.tray.calls.size();
        TickToStep(app);
        ASSERT_EQ(app.tray.calls.size(), before + 2) << count;
        EXPECT_EQ(app.tray.calls[before].operation, win::kNimDelete);
        EXPECT_EQ(app.tray.calls[before + 1].operation, win::kNimAdd);
        EXPECT_EQ(std::string(app.tray.calls[before + 1].data.szTip.data()),
                  std::string("T Sync in ") + count + " Mins");
        EXPECT_TRUE(app.tray.iconShown);
        EXPECT_FALSE(app.window.visible);
    }
    EXPECT_EQ(app.winsock1.connects, 1);
}

TEST(Repeat, OutsideTheTrayStepsLeaveTheIconAlone) {
    FakeApp app;
    Start(app, "1");
    Tick(app, 59 * 3);
    EXPECT_EQ(app.winsock1.connects, 3);
    EXPECT_TRUE(app.tray.calls.empty());
}

TEST(Repeat, ResyncThatFailsAtOnceKeepsRepeatModeRunning) {
    FakeApp app;
    Start(app, "1");
    app.combo1.text.clear();
    Tick(app, 59);
    EXPECT_EQ(app.winsock1.connects, 1);
    EXPECT_TRUE(app.timer1.enabled);
    EXPECT_EQ(app.command3.caption, "Stop Repeat");
    EXPECT_EQ(app.countDown.text, "1");
    Tick(app, 59);
    EXPECT_EQ(app.winsock1.connects, 2);
}

TEST(Repeat, MinutesBoxWithoutANumberAtAStepStopsRepeatAndSaysWhy) {
    for (const char* bad : {"abc", "", "2.5", "1e999"}) {  // 2.5 is no number under German
        SCOPED_TRACE(bad);
        FakeApp app;
        Start(app, "3", FakeRegional::German());
        Tick(app, 59);
        app.countDown.text = bad;
        const std::size_t lines = app.List().size();
        for (int i = 0; i < 59 && app.timer1.enabled; ++i) {
            app.form.Timer1_Timer();
        }
        EXPECT_EQ(app.command3.caption, "Repeat");
        EXPECT_FALSE(app.timer1.enabled);
        EXPECT_EQ(app.countDown.text, "3");
        EXPECT_EQ(app.window.caption, "T Sync in 2 Mins");
        EXPECT_EQ(app.winsock1.connects, 0);
        ASSERT_EQ(app.List().size(), lines + 1);
        EXPECT_EQ(app.log.lines.back(), app.List().back());
    }
}

TEST(Repeat, StartAcceptsAnyTextAndTheFirstStepStopsOnIt) {
    FakeApp app;
    Start(app, "abc");
    EXPECT_EQ(app.command3.caption, "Stop Repeat");
    Tick(app, 59);
    EXPECT_EQ(app.command3.caption, "Repeat");
    EXPECT_EQ(app.countDown.text, "abc");
    EXPECT_EQ(app.window.caption, "T");
}

}  // namespace
}  // namespace qlok
