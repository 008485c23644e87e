// The program's own texts, in one place.
//
// A text marked "verbatim" is one the program has always shown or written, and is kept letter
// for letter, misspellings and odd spacing included ("succesfully", "sysnchronisation", the
// blanks in "NTP value ():"): users know them, scripts match them and history files hold them.
// Do not correct them; a new wording gets a new text.
#pragma once

#include <string_view>

namespace qlok::text {

inline constexpr std::string_view kCaption = "QLOK";            // verbatim
inline constexpr std::string_view kResync = "Resync";           // verbatim
inline constexpr std::string_view kShowClock = "Show Clock";    // verbatim
inline constexpr std::string_view kRepeat = "Repeat";           // verbatim
inline constexpr std::string_view kStopRepeat = "Stop Repeat";  // verbatim
inline constexpr std::string_view kCountDownDefault = "240";    // verbatim
inline constexpr std::string_view kMins = "Mins";               // verbatim

inline constexpr std::string_view kServersFile = "QLOK servers.ini";    // verbatim
inline constexpr std::string_view kHistoryFile = "QLOK.log";            // verbatim
inline constexpr std::string_view kHelpFile = "QLOK instructions.txt";  // verbatim

// The built-in servers when there is no servers file: a host name, then an address.
inline constexpr std::string_view kBuiltInHost = "time.nist.gov";
inline constexpr std::string_view kBuiltInAddress = "129.6.15.28";

inline constexpr int kDaytimePort = 13;

// The activity list's one line before any activity: a blank.
inline constexpr std::string_view kListFirstLine = " ";  // verbatim

// Activity list: the level of a line is its indent.
inline constexpr std::string_view kTarget = "target: ";                            // verbatim
inline constexpr std::string_view kOpening = "opening connection";                 // verbatim
inline constexpr std::string_view kConnectionMade = "   winsock connection made";  // verbatim
inline constexpr std::string_view kDataReceived = "      data received: ";         // verbatim
inline constexpr std::string_view kIncorrectData =
    "      incorrect data received - try again";                                 // verbatim
inline constexpr std::string_view kErrorReceived = "   error received: ";        // verbatim
inline constexpr std::string_view kSocketsClosedAfterError = "sockets closed";   // verbatim
inline constexpr std::string_view kClosingConnection = "   closing connection";  // verbatim
inline constexpr std::string_view kSocketsClosed = "   sockets closed";          // verbatim
inline constexpr std::string_view kBeginning =
    "   beginning system clock synchronization";                                     // verbatim
inline constexpr std::string_view kNtpValue = "      NTP value ():         ";        // verbatim
inline constexpr std::string_view kSystemDate = "      system date (local) : ";      // verbatim
inline constexpr std::string_view kTimeDifference = "      Time difference:      ";  // verbatim
inline constexpr std::string_view kSyncOk = "clock synchronised succesfully";        // verbatim
inline constexpr std::string_view kSyncFailed =
    "SetSystemTime failed. Clock not synchronised";            // verbatim
inline constexpr std::string_view kSlow = " (Slow)";           // verbatim
inline constexpr std::string_view kFast = " (Fast)";           // verbatim
inline constexpr std::string_view kHistoryOk = " ok";          // verbatim
inline constexpr std::string_view kHistoryFailed = " failed";  // verbatim
// The history viewer's first line when it shows only the end of the file.
inline constexpr std::string_view kHistoryTooLarge = " is too large to show whole: the first ";
inline constexpr std::string_view kHistoryBytesLeftOut = " bytes are not shown";

// Repeat mode.
inline constexpr std::string_view kSyncIn = " Sync in ";  // verbatim
inline constexpr std::string_view kMinsSuffix = " Mins";  // verbatim

// Window menu and message boxes.
inline constexpr std::string_view kMinToSystray = "MinToSystray..";            // verbatim
inline constexpr std::string_view kHelpItem = "Help...";                       // verbatim
inline constexpr std::string_view kAboutItem = "About...";                     // verbatim
inline constexpr std::string_view kHelpMissing = "QLOK, Help file not found";  // verbatim
inline constexpr std::string_view kHelpTitle = "Help";                         // verbatim
inline constexpr std::string_view kAboutText =
    "QLOK, Internet time sysnchronisation for all Windows versions.";  // verbatim
inline constexpr std::string_view kAboutCredit = "Written by the QLOK team; free to use and share.";
inline constexpr std::string_view kAboutTitle = "About";  // verbatim
inline constexpr std::string_view kNoDateTimeSettings =
    "No date and time settings could be opened on this desktop.";

}  // namespace qlok::text
