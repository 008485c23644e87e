// The Win32 numbers the window logic and the front ends speak, whatever desktop they run on.
#pragma once

#include <cstdint>

namespace qlok::win {

// Window messages.
inline constexpr std::uint32_t kWmSysCommand = 0x0112;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr int kWmLButtonUp = 0x0202;
inline constexpr int kWmLButtonDblClk = 0x0203;
inline constexpr int kWmRButtonUp = 0x0205;

// System commands of the standard window menu; the low four bits are the system's own.
inline constexpr std::uint32_t kScMask = 0xFFF0;
inline constexpr std::uint32_t kScMinimize = 0xF020;
inline constexpr std::uint32_t kScMaximize = 0xF030;
inline constexpr std::uint32_t kScClose = 0xF060;
inline constexpr std::uint32_t kScRestore = 0xF120;

// Menu item flags.
inline constexpr std::uint32_t kMfString = 0x0000;
inline constexpr std::uint32_t kMfSeparator = 0x0800;

// Message box styles: buttons in the low four bits, the icon in the next four.
inline constexpr int kMbOk = 0x00;
inline constexpr int kMbIconMask = 0xF0;
inline constexpr int kMbIconError = 0x10;
inline constexpr int kMbIconQuestion = 0x20;
inline constexpr int kMbIconWarning = 0x30;
inline constexpr int kMbIconInformation = 0x40;

// The tray record: its first form's size, the fields it fills, and the operations on it.
inline constexpr std::uint32_t kNotifyIconDataV1Size = 88;
inline constexpr std::uint32_t kNifMessage = 0x1;
inline constexpr std::uint32_t kNifIcon = 0x2;
inline constexpr std::uint32_t kNifTip = 0x4;
inline constexpr int kNimAdd = 0;
inline constexpr int kNimDelete = 2;

// The Winsock control's State values.
inline constexpr int kSckClosed = 0;
inline constexpr int kSckOpen = 1;
inline constexpr int kSckListening = 2;
inline constexpr int kSckConnectionPending = 3;
inline constexpr int kSckResolvingHost = 4;
inline constexpr int kSckHostResolved = 5;
inline constexpr int kSckConnecting = 6;
inline constexpr int kSckConnected = 7;
inline constexpr int kSckClosing = 8;
inline constexpr int kSckError = 9;

}  // namespace qlok::win
