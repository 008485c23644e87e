// The Windows front end's own rules, and its file service on real files.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "win32/setclock_order.h"
#include "win32/win32_rules.h"
#include "win32/win32_services.h"

namespace qlok::win32 {
namespace {

TEST(ArgumentText, IsTheTextAfterTheProgramNameAsTyped) {
    const std::pair<const char*, const char*> cases[] = {
        // the command line, the arguments
        {"qlok.exe", ""},
        {"qlok.exe 2", "2"},
        {"qlok.exe \t 2 ", "2 "},
        {"\"C:\\Program Files\\QLOK\\qlok.exe\" 2.5", "2.5"},
        {"\"C:\\Program Files\\QLOK\\qlok.exe\"2", "2"},
        {"\"C:\\QLOK\\qlok.exe\"", ""},
        {"\"C:\\no closing quote 2", ""},
        {"qlok \"two words\"  x", "\"two words\"  x"},
    };
    for (const auto& [commandLine, arguments] : cases) {
        EXPECT_EQ(ArgumentText(commandLine), arguments) << commandLine;
    }
}

TEST(ClockRefusal, SaysToRunAsAdministratorOnlyForAMissingRight) {
    for (const unsigned long error : {1314UL, 5UL}) {
        EXPECT_TRUE(ClockRefusal(error, "No.")
                        .starts_with("QLOK must run as an administrator to "
                                     "set the clock\nRight-click it"))
            << error;
    }
    EXPECT_EQ(ClockRefusal(87, "Bad."),
              "Windows refused to set the clock\nWindows says: Bad. (87)");
}

// qlok-setclock.exe runs elevated: two plain numbers, a time of 2000 to 2100 and an arrival
// reading of the last ten minutes, or nothing is set.
TEST(SetClockOrder, TakesOnlyTwoPlainNumbersOfThisCenturyAndARecentArrival) {
    constexpr std::uint64_t now = 5'000'000;
    const std::tuple<const char*, const char*, bool> cases[] = {
        // time, arrival, taken
        {"1765200000", "4999000", true},
        {"946684800", "5000000", true},  // 2000-01-01
        {"946684799", "4999000", false},
        {"4133980799", "4999000", true},  // 2100-12-31
        {"4133980800", "4999000", false},
        {"1765200000", "4400000", true},  // 10 min old
        {"1765200000", "4399999", false},
        {"1765200000", "5000001", false},  // ahead of now
        {"+1765200000", "4999000", false},
        {"1765200000", "-4999000", false},
        {"1765200000 ", "4999000", false},
        {"1765200000", "", false},
        {"1765200000.5", "4999000", false},
        {"0x69371a80", "4999000", false},
        {"99999999999999999999", "4999000", false},
    };
    for (const auto& [time, arrival, taken] : cases) {
        EXPECT_EQ(ReadSetClockOrder(time, arrival, now).has_value(), taken)
            << "[" << time << "] [" << arrival << "]";
    }
}

// Every append lands at the end, whatever other handles wrote since this one was opened, and
// each handle sees the file's new end; a folder is named as such.
TEST(Win32Files, AppendsOfInterleavedHandlesFollowEachOther) {
    char folder[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0U);
    const std::string path = std::string(folder) + "qlok-append-test.log";
    DeleteFileA(path.c_str());
    Win32FileSystem files;
    EXPECT_FALSE(files.FileExists(folder));  // a folder is no file
    std::string error;
    const std::unique_ptr<AppendFile> first = files.OpenAppend(path, error);
    const std::unique_ptr<AppendFile> second = files.OpenAppend(path, error);
    ASSERT_TRUE(first && second) << error;
    EXPECT_TRUE(first->Append("one\r\n") && second->Append("two\r\n") && first->Append("3\r\n"));
    EXPECT_EQ(files.ReadAll(path).data, "one\r\ntwo\r\n3\r\n");
    EXPECT_TRUE(first->Append("fragm") && second->EndsMidLine());
    EXPECT_EQ(files.ReadAll(folder).error, "it is a folder");
    EXPECT_TRUE(files.FileExists(path));
    DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace qlok::win32
