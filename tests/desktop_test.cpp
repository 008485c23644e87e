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

constexpr std::uint32_t kSysCommand = win::kWmSysCommand;
constexpr std::intptr_t kPassedOn = fake::FakeWindowMenu::kOriginalAnswer;
// The mouse messages a tray icon sends besides the three that restore the window.
constexpr int kWmLButtonDown = 0x0201;
constexpr int kWmRButtonDown = 0x0204;

// Sends one message through the window procedure that start-up installed.
std::intptr_t Send(FakeApp& app, std::uint32_t msg, std::uintptr_t wParam = Menu::MenuIdMinToTray) {
    return app.windowMenu.Send(app.window.Handle(), msg, wParam, 77);
}

// Load installs the procedure and leaves tray mode (the commands it appends are the menu entries
// of the Qt window test and the WM_SYSCOMMAND values wine_e2e.sh sends). Through the procedure,
// Help looks for its file at each command, opens it and still passes the message on unchanged; a
// missing file, a viewer that fails and About end in a box. The commands are compared with the
// whole wParam of WM_SYSCOMMAND (1008 is 1010 with its low four bits cleared, 0xF020 the standard
// minimise); the rest, and the command values in other messages, pass on. Show Clock opens the date
// and time settings and says so only when there are none.
TEST(WindowMenu, LoadInstallsTheCommandsThatThenActThroughTheProcedure) {
    FakeApp app;
    Systray::InTrayMode = Systray::kTrue;
    app.Load();
    EXPECT_EQ(Systray::InTrayMode, Systray::kFalse);
    EXPECT_EQ(Send(app, kSysCommand, Menu::MenuIdHelp), 0);
    app.files.files["QLOK instructions.txt"] = "help";
    EXPECT_EQ(Send(app, kSysCommand, Menu::MenuIdHelp), kPassedOn);
    EXPECT_EQ(app.shell.opened, Lines{"QLOK instructions.txt"});
    EXPECT_EQ(app.windowMenu.passedOn,
              std::vector{fake::ProcedureCall(fake::FakeWindowMenu::kOriginal, app.window.Handle(),
                                              kSysCommand, Menu::MenuIdHelp, 77)});
    app.form.Command2_Click();
    app.shell.fail = true;
    EXPECT_EQ(Send(app, kSysCommand, Menu::MenuIdHelp), 0);
    EXPECT_EQ(Send(app, kSysCommand, Menu::MenuIdAbout), 0);
    EXPECT_EQ(Send(app, win::kWmMouseMove, Menu::MenuIdMinToTray), kPassedOn);
    for (const std::uintptr_t other : {1008u, 1012u, 0xF020u, 1010u + 0x10000u}) {
        EXPECT_EQ(Send(app, kSysCommand, other), kPassedOn) << other;
    }
    app.form.Command2_Click();
    EXPECT_EQ(app.shell.opened.back(), "date and time settings");
    // The About and missing-help boxes' texts are checked on Windows by wine_e2e.sh.
    const Lines& shown = app.messageBoxes.shown;
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1], "Help|QLOK instructions.txt could not be opened.");
    EXPECT_EQ(shown[3], "Show Clock|No date and time settings could be opened on this desktop.");
}

// MinToSystray hides the window behind an icon whose tip is the caption. Only button-up and
// double-click messages from the icon bring the window back, restored rather than maximised,
// and remove the icon, once; after the round trip the title bar's minimise goes to the taskbar.
TEST(Tray, RoundTrip) {
    FakeApp app;
    app.window.state = WindowState::Maximized;
    app.window.caption = "QLOK 22:54:19 3 (Fast)";
    app.Load();
    EXPECT_EQ(Send(app, kSysCommand), 0);
    ASSERT_EQ(app.tray.calls.size(), 1u);
    const auto [add, added] = app.tray.calls[0];  // a copy: later calls move the vector
    // The icon's clicks come back as the window's own mouse-move message.
    EXPECT_EQ(std::tuple(add, added.cbSize, added.hWnd, added.uID, added.uFlags,
                         added.uCallbackMessage, added.hIcon),
              std::tuple(win::kNimAdd, win::kNotifyIconDataV1Size, app.window.Handle(), 1u,
                         win::kNifMessage | win::kNifIcon | win::kNifTip, win::kWmMouseMove,
                         app.window.IconHandle()));
    EXPECT_EQ(added.szTip.substr(0, added.szTip.find('\0')), app.window.caption);
    for (const int message : {int{win::kWmMouseMove}, kWmLButtonDown, kWmRButtonDown}) {
        app.form.Form_MouseMove(0, 0, message, 0);
        EXPECT_FALSE(app.window.visible) << message;
    }
    for (const int message : {win::kWmLButtonUp, win::kWmLButtonDblClk}) {
        EXPECT_TRUE(Systray::RestoresWindow(message)) << message;  // as the button-up below does
    }
    app.form.Form_MouseMove(0, 0, win::kWmRButtonUp, 0);
    app.form.Form_MouseMove(0, 0, win::kWmLButtonDblClk, 0);  // after the click
    EXPECT_TRUE(app.window.visible && app.window.state == WindowState::Normal);
    ASSERT_EQ(app.tray.calls.size(), 2u);
    const auto& [removal, removed] = app.tray.calls[1];
    EXPECT_EQ(std::pair(removal, removed.uID), std::pair(win::kNimDelete, added.uID));
    app.window.SetState(WindowState::Minimized);
    EXPECT_TRUE(app.window.visible);
}

// The tip: the caption cut to at most 63 bytes of the system charset, never inside a
// character, a NUL, then spaces up to 64 bytes.
TEST(Tray, TooltipKeepsAtMost63BytesAndNeverHalfACharacter) {
    const std::string z62(62, 'z'), z60(60, 'z');
    constexpr auto utf8 = &Utf8CharacterLength;
    constexpr auto singleByte = +[](std::string_view) -> std::size_t { return 1; };
    // The caption, the charset's character rule, the tip's text.
    const std::tuple<std::string, std::size_t (*)(std::string_view), std::string> cases[] = {
        {"QLOK", utf8, "QLOK"},
        {std::string(70, 'y'), utf8, std::string(63, 'y')},
        {z62 + "\xC3\xA4", utf8, z62},  // a 2-byte character from byte 63
        {z60 + "\xE2\x82\xAC!", utf8, z60 + "\xE2\x82\xAC"},
        {z60 + "z\xE2\x82\xAC", utf8, z60 + "z"},
        {z62 + "\xC3\xA4", singleByte, z62 + "\xC3"}};
    for (const auto& [caption, characterLength, tip] : cases) {
        const std::string field = Systray::TipField(caption, characterLength);
        EXPECT_EQ(field, tip + '\0' + std::string(63 - tip.size(), ' ')) << caption;
    }
}

// Without an icon the window stays on the taskbar: when the icon is lost at a tooltip refresh
// (one the desktop refuses at MinToSystray: the Qt window test).
TEST(Tray, ALostIconLeavesTheWindowOnTheTaskbar) {
    FakeApp app;
    app.Load();
    Send(app, kSysCommand);
    ASSERT_FALSE(app.window.visible);
    app.tray.refuseAdd = true;
    app.form.Nid_Refresh();
    EXPECT_TRUE(app.window.visible && Systray::InTrayMode == Systray::kFalse);
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
    app.form.Form_MouseMove(0, 0, win::kWmLButtonUp, 0);
    app.form.Form_Unload();
    EXPECT_FALSE(app.timer1.enabled);
    EXPECT_EQ(app.winsock1.State(), win::kSckClosed);
    EXPECT_EQ(app.tray.calls.size(), 2u);  // the add and one delete
    EXPECT_FALSE(app.tray.iconShown || app.window.visible);
}

}  // namespace
}  // namespace qlok
