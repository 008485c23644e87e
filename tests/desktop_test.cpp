#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "desktop/menu.h"
#include "desktop/systray.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using fake::FakeWindowMenu;

using namespace win;

constexpr std::uintptr_t kHwnd = 0xABC;

// Sends one message to the window through the procedure that start-up installed.
std::intptr_t Send(FakeApp& app, std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
    return app.windowMenu.Send(kHwnd, msg, wParam, lParam);
}

void ChooseMinToSystray(FakeApp& app) {
    Send(app, kWmSysCommand, Menu::MenuIdMinToTray, 0);
}

// The tray icon reports a mouse message in the place of x.
void IconMessage(FakeApp& app, int message) {
    app.form.Form_MouseMove(0, 0, message, 0);
}

using Passed = std::vector<fake::ProcedureCall>;
constexpr WindowProcedure kOriginal = FakeWindowMenu::kOriginal;

std::string Tip(const NotifyIconData& data) {
    return data.szTip.substr(0, data.szTip.find('\0'));
}

TEST(WindowMenu, LoadAppendsTheCommandsAfterASeparatorAndInstallsTheProcedure) {
    FakeApp app;
    Systray::InTrayMode = Systray::kTrue;
    app.Load();
    ASSERT_EQ(app.windowMenu.items.size(), 4u);
    const std::uint32_t ids[] = {0, 1010, 1011, 1013};
    const char* texts[] = {"", "MinToSystray..", "Help...", "About..."};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(app.windowMenu.items[i].flags, i == 0 ? kMfSeparator : kMfString) << i;
        EXPECT_EQ(app.windowMenu.items[i].id, ids[i]) << i;
        EXPECT_EQ(app.windowMenu.items[i].text, texts[i]) << i;
    }
    EXPECT_TRUE(app.windowMenu.installed);
    EXPECT_EQ(Menu::PreviousWndProc, kOriginal);
    EXPECT_EQ(Systray::MainForm, &app.form);
    EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);
}

TEST(WindowMenu, MinToSystraySetsTrayModeBeforeMinimisingAndConsumesTheCommand) {
    FakeApp app;
    app.Load();
    int flagDuringResize = 0;
    app.window.onResize = [&] {
        flagDuringResize = Systray::InTrayMode;
        app.form.Form_Resize();
    };
    EXPECT_EQ(Send(app, kWmSysCommand, 1010, 0), 0);
    EXPECT_EQ(flagDuringResize, Systray::kTrue);
    EXPECT_EQ(app.window.state, WindowState::Minimized);
    EXPECT_FALSE(app.window.visible);
    EXPECT_TRUE(app.windowMenu.passedOn.empty());
}

TEST(WindowMenu, HelpOpensThePresentFileAndStillPassesTheMessageOn) {
    FakeApp app;
    app.files.files["QLOK instructions.txt"] = "help";
    app.Load();
    EXPECT_EQ(Send(app, kWmSysCommand, 1011, 77), 4242);
    EXPECT_EQ(app.shell.opened, std::vector<std::string>{"QLOK instructions.txt"});
    EXPECT_EQ(app.windowMenu.passedOn, (Passed{{kOriginal, kHwnd, kWmSysCommand, 1011, 77}}));
    EXPECT_TRUE(app.messageBoxes.shown.empty());

    // A viewer that cannot be started ends the command with a word to the user.
    app.shell.fail = true;
    EXPECT_EQ(Send(app, kWmSysCommand, 1011, 77), 0);
    EXPECT_EQ(app.windowMenu.passedOn.size(), 1u);
    ASSERT_EQ(app.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(app.messageBoxes.shown[0].text, "QLOK instructions.txt could not be opened.");
}

TEST(WindowMenu, HelpWithoutTheFileSaysSoAndLooksAgainNextTime) {
    FakeApp app;
    app.Load();
    EXPECT_EQ(Send(app, kWmSysCommand, 1011, 0), 0);
    ASSERT_EQ(app.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(app.messageBoxes.shown[0].text, "QLOK, Help file not found");
    EXPECT_EQ(app.messageBoxes.shown[0].title, "Help");
    EXPECT_EQ(app.messageBoxes.shown[0].style, 64);
    EXPECT_TRUE(app.shell.opened.empty());
    EXPECT_TRUE(app.windowMenu.passedOn.empty());
    EXPECT_EQ(app.List(), std::vector<std::string>{" "});

    app.files.files["QLOK instructions.txt"] = "help";  // put there while the window is up
    EXPECT_EQ(Send(app, kWmSysCommand, 1011, 0), 4242);
    EXPECT_EQ(app.shell.opened.size(), 1u);
}

TEST(WindowMenu, AboutShowsTheFixedFirstLineAndACredit) {
    FakeApp app;
    app.Load();
    EXPECT_EQ(Send(app, kWmSysCommand, 1013, 0), 0);
    ASSERT_EQ(app.messageBoxes.shown.size(), 1u);
    const std::string first = "QLOK, Internet time sysnchronisation for all Windows versions.\n";
    const std::string& text = app.messageBoxes.shown[0].text;
    EXPECT_EQ(text.substr(0, first.size()), first);
    EXPECT_GT(text.size(), first.size());
    EXPECT_EQ(app.messageBoxes.shown[0].title, "About");
    EXPECT_EQ(app.messageBoxes.shown[0].style, 64);
    EXPECT_TRUE(app.windowMenu.passedOn.empty());
}

TEST(WindowMenu, EveryOtherMessageReachesThePreviousProcedureUnchanged) {
    struct Case {
        std::uint32_t msg;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    for (const Case c : {Case{kWmSysCommand, 1008, 5},  // 1010 with its low four bits cleared
                         {kWmSysCommand, 1012, 6},
                         {kWmSysCommand, 0xF020, 7},  // the standard minimise
                         {kWmSysCommand, 1010 + 0x10000, 0},
                         {0x0200, 1010, 514},  // other messages with the command values
                         {0x0111, 1011, 0},
                         {0x0010, 1013, -1}}) {
        FakeApp app;
        app.files.files["QLOK instructions.txt"] = "help";
        app.Load();
        EXPECT_EQ(Send(app, c.msg, c.wParam, c.lParam), 4242) << c.msg << " " << c.wParam;
        EXPECT_EQ(app.windowMenu.passedOn, (Passed{{kOriginal, kHwnd, c.msg, c.wParam, c.lParam}}));
        EXPECT_TRUE(app.shell.opened.empty());
        EXPECT_TRUE(app.messageBoxes.shown.empty());
        EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);
        EXPECT_EQ(app.window.state, WindowState::Normal);
    }
}

TEST(ShowClock, OpensTheDateAndTimeSettingsAndListsNothing) {
    for (const bool fails : {false, true}) {
        FakeApp app;
        app.Load();
        app.shell.fail = fails;
        app.form.Command2_Click();
        EXPECT_EQ(app.shell.dateTimeSettings, 1);
        EXPECT_EQ(app.List(), std::vector<std::string>{" "});
        EXPECT_TRUE(app.log.lines.empty());
        // Only a desktop without date and time settings gets a word about it.
        ASSERT_EQ(app.messageBoxes.shown.size(), fails ? 1u : 0u);
        if (fails) {
            EXPECT_EQ(app.messageBoxes.shown[0].title, "Show Clock");
        }
    }
}

TEST(Tray, EnteringHidesTheWindowAndAddsTheIconWithTheCaptionAsTip) {
    FakeApp app;
    app.window.caption = "QLOK 22:54:19 3 (Fast)";
    app.Load();
    ChooseMinToSystray(app);
    EXPECT_FALSE(app.window.visible);
    ASSERT_EQ(app.tray.calls.size(), 1u);
    EXPECT_EQ(app.tray.calls[0].operation, kNimAdd);
    const NotifyIconData& data = app.tray.calls[0].data;
    EXPECT_EQ(data.cbSize, 88u);
    EXPECT_EQ(data.hWnd, app.window.Handle());
    EXPECT_EQ(data.uID, 1u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 512u);
    EXPECT_EQ(data.hIcon, app.window.IconHandle());
    EXPECT_EQ(Tip(data), app.window.caption);
}

TEST(Tray, ButtonUpAndDoubleClickOnTheIconBringTheWindowBackOnce) {
    for (int message = 512; message <= 517; ++message) {
        FakeApp app;
        app.window.state = WindowState::Maximized;
        app.Load();
        ChooseMinToSystray(app);
        IconMessage(app, message);
        const bool restores = message == 514 || message == 515 || message == 517;
        SCOPED_TRACE(message);
        if (!restores) {
            EXPECT_FALSE(app.window.visible);
            EXPECT_EQ(app.window.state, WindowState::Minimized);
            EXPECT_EQ(app.tray.calls.size(), 1u);
            EXPECT_EQ(Systray::InTrayMode, Systray::kTrue);
            continue;
        }
        EXPECT_TRUE(app.window.visible);
        EXPECT_EQ(app.window.state, WindowState::Normal);  // not maximised again
        ASSERT_EQ(app.tray.calls.size(), 2u);
        EXPECT_EQ(app.tray.calls[1].operation, kNimDelete);
        EXPECT_EQ(app.tray.calls[1].data.uID, 1u);
        EXPECT_FALSE(app.tray.iconShown);
        EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);

        IconMessage(app, 515);  // the double-click that follows a click
        EXPECT_EQ(app.tray.calls.size(), 2u);
    }
}

TEST(Tray, TitleBarMinimiseGoesToTheTaskbarEvenAfterARoundTrip) {
    FakeApp app;
    app.Load();
    app.window.SetState(WindowState::Minimized);
    EXPECT_TRUE(app.window.visible);
    EXPECT_TRUE(app.tray.calls.empty());

    app.window.SetState(WindowState::Normal);
    ChooseMinToSystray(app);
    IconMessage(app, 514);
    app.window.SetState(WindowState::Minimized);
    EXPECT_TRUE(app.window.visible);
    EXPECT_EQ(app.tray.calls.size(), 2u);  // the add and the delete of the round trip only
}

TEST(Tray, TooltipKeepsAtMost63BytesAndNeverHalfACharacter) {
    const std::string x63(63, 'x');
    const std::string y70 = std::string(60, 'y') + "0123456789";
    const std::string z62 = std::string(62, 'z');
    const std::string z60 = std::string(60, 'z');
    constexpr auto utf8 = &Systray::Utf8CharacterLength;
    constexpr auto singleByte = +[](std::string_view) -> std::size_t { return 1; };
    struct Case {
        std::string caption;
        std::size_t (*characterLength)(std::string_view);
        std::string tip;
    };
    for (const Case& c : {Case{"QLOK", utf8, "QLOK"},
                          {x63, utf8, x63},
                          {y70, utf8, y70.substr(0, 63)},
                          {z62 + "\xC3\xA4", utf8, z62},  // a 2-byte character from byte 63
                          {z60 + "\xE2\x82\xAC!", utf8, z60 + "\xE2\x82\xAC"},
                          {z60 + "z\xE2\x82\xAC", utf8, z60 + "z"},
                          {z62 + "\xC3\xA4", singleByte, z62 + "\xC3"},
                          {z62 + "\xE4\xE4", singleByte, z62 + "\xE4"}}) {
        FakeApp app;
        app.tray.characterLength = c.characterLength;
        app.window.caption = c.caption;
        app.Load();
        ChooseMinToSystray(app);
        ASSERT_EQ(app.tray.calls.size(), 1u);
        const std::string& field = app.tray.calls[0].data.szTip;
        EXPECT_EQ(field, c.tip + '\0' + std::string(63 - c.tip.size(), ' ')) << c.caption;
    }
}

TEST(Tray, Utf8CharacterLengthTakesOnlyTheContinuationBytesThatFollow) {
    const std::pair<std::string_view, std::size_t> cases[] = {
        {"a\xC3", 1},    {"\xC3\xA4\x61", 2}, {"\xE2\x82\xAC", 3}, {"\xF0\x9F\x95\x90", 4},
        {"\xE2\x82", 2},  // cut short
        {"\xC3\x61", 1},  // no continuation
        {"\xA4\xA4", 1},  // a stray continuation byte
    };
    for (const auto& [text, length] : cases) {
        EXPECT_EQ(Systray::Utf8CharacterLength(text), length) << text;
    }
}

TEST(Tray, RefreshWithoutAnIconRegistersIt) {
    FakeApp app;
    app.Load();
    app.form.Nid_Refresh();
    ASSERT_EQ(app.tray.calls.size(), 2u);
    EXPECT_EQ(app.tray.calls[0].operation, kNimDelete);
    EXPECT_EQ(app.tray.calls[1].operation, kNimAdd);
    EXPECT_EQ(Tip(app.tray.calls[1].data), "QLOK");
    EXPECT_TRUE(app.tray.iconShown);
    EXPECT_TRUE(app.window.visible);
}

TEST(Tray, RefusedIconLeavesTheWindowOnTheTaskbar) {
    FakeApp app;
    app.Load();
    app.tray.refuseAdd = true;
    ChooseMinToSystray(app);
    EXPECT_TRUE(app.window.visible);
    EXPECT_EQ(app.window.state, WindowState::Minimized);
    EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);

    app.window.SetState(WindowState::Normal);
    app.tray.refuseAdd = false;
    ChooseMinToSystray(app);
    ASSERT_FALSE(app.window.visible);
    app.tray.refuseAdd = true;  // the icon is lost at a tooltip refresh
    app.form.Nid_Refresh();
    EXPECT_TRUE(app.window.visible);
    EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);
}

TEST(Tray, ClosingTheWindowRemovesAnIconItStillHasAndEndsTheWork) {
    FakeApp app;
    app.Load();
    app.form.Command3_Click();
    app.form.Command1_Click();
    app.form.Form_Unload();
    EXPECT_TRUE(app.tray.calls.empty());
    EXPECT_FALSE(app.timer1.enabled);
    EXPECT_EQ(app.winsock1.State(), 0);

    ChooseMinToSystray(app);
    app.form.Form_Unload();
    ASSERT_EQ(app.tray.calls.size(), 2u);
    EXPECT_EQ(app.tray.calls[1].operation, kNimDelete);
    EXPECT_FALSE(app.tray.iconShown);
    app.form.Form_MouseMove(0, 0, 514, 0);  // a click that was already queued
    EXPECT_FALSE(app.window.visible);
}

}  // namespace
}  // namespace qlok
