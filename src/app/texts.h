// The program's own texts, in one place.
#pragma once

#include <string_view>

namespace qlok::text {

inline constexpr std::string_view kCaption = "QLOK";
inline constexpr std::string_view kResync = "Resync";
inline constexpr std::string_view kShowClock = "Show Clock";
inline constexpr std::string_view kRepeat = "Repeat";
inline constexpr std::string_view kStopRepeat = "Stop Repeat";
inline constexpr std::string_view kCountDownDefault = "240";
inline constexpr std::string_view kMins = "Mins";

inline constexpr std::string_view kServersFile = "QLOK servers.ini";
inline constexpr std::string_view kHistoryFile = "QLOK.log";
inline constexpr std::string_view kHelpFile = "QLOK instructions.txt";

// The built-in servers when there is no servers file: a host name, then an address.
inline constexpr std::string_view kBuiltInHost = "time.nist.gov";
inline constexpr std::string_view kBuiltInAddress = "129.6.15.28";

inline constexpr int kDaytimePort = 13;

// Activity list: the level of a line is its indent.
inline constexpr std::string_view kTarget = "target: ";
inline constexpr std::string_view kOpening = "opening connection";
inline constexpr std::string_view kConnectionMade = "   winsock connection made";
inline constexpr std::string_view kDataReceived = "      data received: ";
inline constexpr std::string_view kIncorrectData = "      incorrect data received - try again";
inline constexpr std::string_view kErrorReceived = "   error received: ";
inline constexpr std::string_view kSocketsClosedAfterError = "sockets closed";
inline constexpr std::string_view kClosingConnection = "   closing connection";
inline constexpr std::string_view kSocketsClosed = "   sockets closed";
inline constexpr std::string_view kBeginning = "   beginning system clock synchronization";
inline constexpr std::string_view kNtpValue = "      NTP value ():         ";
inline constexpr std::string_view kSystemDate = "      system date (local) : ";
inline constexpr std::string_view kTimeDifference = "      Time difference:      ";
inline constexpr std::string_view kSyncOk = "clock synchronised succesfully";
inline constexpr std::string_view kSyncFailed = "SetSystemTime failed. Clock not synchronised";
inline constexpr std::string_view kSlow = " (Slow)";
inline constexpr std::string_view kFast = " (Fast)";
inline constexpr std::string_view kHistoryOk = " ok";
inline constexpr std::string_view kHistoryFailed = " failed";
// The history viewer's first line when it shows only the end of the file.
inline constexpr std::string_view kHistoryTooLarge = " is too large to show whole: the first ";
inline constexpr std::string_view kHistoryBytesLeftOut = " bytes are not shown";

// Repeat mode.
inline constexpr std::string_view kSyncIn = " Sync in ";
inline constexpr std::string_view kMinsSuffix = " Mins";

// Window menu and message boxes.
inline constexpr std::string_view kMinToSystray = "MinToSystray..";
inline constexpr std::string_view kHelpItem = "Help...";
inline constexpr std::string_view kAboutItem = "About...";
inline constexpr std::string_view kHelpMissing = "QLOK, Help file not found";
inline constexpr std::string_view kHelpTitle = "Help";
inline constexpr std::string_view kAboutText =
    "QLOK, Internet time sysnchronisation for all Windows versions.";
inline constexpr std::string_view kAboutCredit = "Written by the QLOK team; free to use and share.";
inline constexpr std::string_view kAboutTitle = "About";
inline constexpr std::string_view kNoDateTimeSettings =
    "No date and time settings could be opened on this desktop.";

}  // namespace qlok::text
