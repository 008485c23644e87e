#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/menu.h"
#include "desktop/systray.h"
#include "fake/fake_platform.h"

namespace qlok {
namespace {

using fake::FakeApp;
using Lines = std::vector<std::string>;

constexpr std::uint32_t kSysCommand = 0x0112;

// Sends one message through the window procedure that start-up installed.
std::intptr_t Send(FakeApp& app, std::uint32_t msg, std::uintptr_t wParam = 1010) {
    return app.windowMenu.installed(0xABC, msg, wParam, 77);
}

TEST(WindowMenu, LoadAppendsTheCommandsAfterASeparatorInstallsTheProcedureAndResetsTrayMode) {
    FakeApp app;
    Systray::InTrayMode = Systray::kTrue;
    app.Load();
    ASSERT_EQ(app.windowMenu.items.size(), 4u);
    EXPECT_EQ(app.windowMenu.items[0], fake::MenuItem(kMfSeparator, 0, ""));
    EXPECT_EQ(Menu::PreviousWndProc, &fake::FakeWindowMenu::PreviousProcedure);
    EXPECT_EQ(Systray::MainForm, &app.form);
    EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);
}

// Each message through the installed procedure, the help file there or not: what it returns
// (4242: the previous procedure's answer, which got the message unchanged) and what the user
// sees: a box (how its title and text begin) or the help file opened.
TEST(WindowMenu, DecisionTable) {
    struct Case {
        std::uint32_t msg;
        std::uintptr_t wParam;
        bool help;
        std::intptr_t result;
        std::string shown;
    };
    for (const Case& c :
         {Case{kSysCommand, 1010, true, 0, ""},
          Case{kSysCommand, 1011, true, 4242, "opened QLOK instructions.txt"},
          Case{kSysCommand, 1011, false, 0, "Help|QLOK, Help file not found"},
          Case{kSysCommand, 1013, true, 0, "About|QLOK, Internet time sysnchronisation"},
          Case{kSysCommand, 1008, true, 4242, ""},  // 1010, low four bits cleared
          Case{kSysCommand, 1012, true, 4242, ""},
          Case{kSysCommand, 0xF020, true, 4242, ""},  // the standard minimise
          Case{kSysCommand, 1010 + 0x10000, true, 4242, ""},
          Case{0x0200, 1010, true, 4242, ""},  // other messages, command values
          Case{0x0111, 1011, true, 4242, ""}, Case{0x0010, 1013, true, 4242, ""}}) {
        FakeApp app;
        app.Load();
        if (c.help) {
            app.files.files["QLOK instructions.txt"] = "help";  // looked for at each command
        }
        EXPECT_EQ(Send(app, c.msg, c.wParam), c.result) << c.msg << " " << c.wParam;
        EXPECT_EQ(fake::FakeWindowMenu::previousCalls,
                  c.result == 0 ? std::vector<fake::ProcedureCall>{}
                                : std::vector{fake::ProcedureCall(0xABC, c.msg, c.wParam, 77)});
        Lines shown = app.messageBoxes.shown;
        for (const std::string& file : app.shell.opened) {
            shown.push_back("opened " + file);
        }
        EXPECT_EQ(shown.empty() ? "" : shown[0].substr(0, c.shown.size()), c.shown);
        EXPECT_LE(shown.size(), 1u);
    }
    FakeApp app;  // a viewer that cannot be started ends the command with a word to the user
    app.Load();
    app.files.files["QLOK instructions.txt"] = "help";
    app.shell.fail = true;
    EXPECT_EQ(Send(app, kSysCommand, 1011), 0);
    EXPECT_EQ(app.messageBoxes.shown, Lines{"Help|QLOK instructions.txt could not be opened."});
}

TEST(ShowClock, OpensTheDateAndTimeSettingsAndSaysSoOnlyWhenThereAreNone) {
    for (const bool fails : {false, true}) {
        FakeApp app;
        app.shell.fail = fails;
        app.form.Command2_Click();
        EXPECT_EQ(app.shell.opened, Lines{"date and time settings"});
        EXPECT_EQ(app.messageBoxes.shown.size(), fails ? 1u : 0u);
        EXPECT_EQ(app.List(), Lines{" "});
    }
}

// MinToSystray hides the window behind an icon whose tip is the caption. Button-up and
// double-click messages from the icon bring the window back, restored rather than maximised,
// and remove the icon, once; after the round trip the title bar's minimise goes to the taskbar.
TEST(Tray, RoundTrip) {
    for (int message = 512; message <= 517; ++message) {
        SCOPED_TRACE(message);
        FakeApp app;
        app.window.state = WindowState::Maximized;
        app.window.caption = "QLOK 22:54:19 3 (Fast)";
        app.Load();
        EXPECT_EQ(Send(app, kSysCommand), 0);
        ASSERT_EQ(app.tray.calls.size(), 1u);
        const NotifyIconData& added = app.tray.calls[0].data;
        EXPECT_EQ(app.tray.calls[0].operation, kNimAdd);
        EXPECT_EQ(added.hWnd, app.window.Handle());
        EXPECT_EQ(added.hIcon, app.window.IconHandle());
        EXPECT_EQ(added.szTip.substr(0, added.szTip.find('\0')), app.window.caption);
        EXPECT_FALSE(app.window.visible);

        const bool restores = message == 514 || message == 515 || message == 517;
        app.form.Form_MouseMove(0, 0, message, 0);
        EXPECT_EQ(app.window.visible, restores);
        EXPECT_EQ(Systray::InTrayMode == Systray::kFalse, restores);
        app.form.Form_MouseMove(0, 0, 515, 0);  // a double-click after the click
        EXPECT_EQ(app.window.state, WindowState::Normal);
        ASSERT_EQ(app.tray.calls.size(), 2u);
        EXPECT_EQ(app.tray.calls[1].operation, kNimDelete);
        EXPECT_EQ(app.tray.calls[1].data.uID, added.uID);
        EXPECT_FALSE(app.tray.iconShown);
        app.window.SetState(WindowState::Minimized);
        EXPECT_TRUE(app.window.visible);
        EXPECT_EQ(app.tray.calls.size(), 2u);
    }
}

// The tip: the caption cut to 63 characters, a NUL, then spaces up to 64 characters.
TEST(Tray, TooltipKeepsAtMost63Characters) {
    const std::string z = std::string(62, 'z') + "\xC3\xA4";  // 63 characters, 64 bytes
    EXPECT_EQ(Systray::TipField("QLOK"), "QLOK" + std::string(1, '\0') + std::string(59, ' '));
    EXPECT_EQ(Systray::TipField(std::string(70, 'y')), std::string(63, 'y') + '\0');
    EXPECT_EQ(Systray::TipField(z + "\xC3\xA4"), z + '\0');
}

// Without an icon the window stays on the taskbar: when the desktop refuses it, and when it is
// lost at a tooltip refresh. A refresh without an icon registers one.
TEST(Tray, RefusedOrLostIconLeavesTheWindowOnTheTaskbar) {
    FakeApp app;
    app.Load();
    app.form.Nid_Refresh();
    EXPECT_TRUE(app.tray.iconShown && app.window.visible);
    app.tray.refuseAdd = true;
    Send(app, kSysCommand);
    EXPECT_TRUE(app.window.visible);
    EXPECT_EQ(app.window.state, WindowState::Minimized);
    EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);
    app.window.SetState(WindowState::Normal);
    app.tray.refuseAdd = false;
    Send(app, kSysCommand);
    ASSERT_FALSE(app.window.visible);
    app.tray.refuseAdd = true;
    app.form.Nid_Refresh();
    EXPECT_TRUE(app.window.visible);
    EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);
}

// Closing the window stops the timer and the socket, and removes an icon it still has, so a
// click already on its way finds no tray to leave.
TEST(Tray, ClosingTheWindowRemovesItsIconAndEndsTheWork) {
    FakeApp app;
    app.Load();
    app.form.Command3_Click();
    app.form.Command1_Click();
    Send(app, kSysCommand);
    app.form.Form_Unload();
    EXPECT_FALSE(app.timer1.enabled);
    EXPECT_EQ(app.winsock1.state, 0);
    ASSERT_EQ(app.tray.calls.size(), 2u);
    EXPECT_FALSE(app.tray.iconShown);
    app.form.Form_MouseMove(0, 0, 514, 0);
    EXPECT_FALSE(app.window.visible);
    app.form.Form_Unload();
    EXPECT_EQ(app.tray.calls.size(), 2u);
}

}  // namespace
}  // namespace qlok
