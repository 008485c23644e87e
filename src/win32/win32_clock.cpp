#include <windows.h>

#include <shellapi.h>

#include "sync/clock_step.h"
#include "win32/set_system_time.h"
#include "win32/win32_desktop.h"
#include "win32/win32_rules.h"
#include "win32/win32_services.h"
#include "win32/win32_system_text.h"

namespace qlok::win32 {

namespace {

constexpr long long kFileTimeUnitsPerSecond = 10'000'000;

long long FileTimeValue(const FILETIME& time) {
    return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                  time.dwLowDateTime);
}

// Starts qlok-setclock.exe, beside this program, through the consent prompt, and waits for it
// with the owner disabled: messages are dispatched meanwhile, so the window paints, and the
// window logic defers its timer ticks and socket events until the correction is over. The
// helper's exit code, ERROR_CANCELLED when the consent was not given; false when the helper
// could not be started at all.
bool SetWithConsent(HWND owner, const std::string& parameters, DWORD& result) {
    const std::string helper = PathBesideProgram("qlok-setclock.exe");
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    run.hwnd = owner;
    run.lpVerb = "runas";
    run.lpFile = helper.c_str();
    run.lpParameters = parameters.c_str();
    run.nShow = SW_HIDE;
    if (!ShellExecuteExA(&run)) {
        result = GetLastError();
        return result == ERROR_CANCELLED;
    }
    if (run.hProcess == nullptr) {
        return false;
    }
    EnableWindow(owner, FALSE);
    bool quit = false;
    WPARAM exitCode = 0;
    while (MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG message{};
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {  // for the main loop, once this wait is over
                quit = true;
                exitCode = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    EnableWindow(owner, TRUE);
    if (quit) {
        PostQuitMessage(static_cast<int>(exitCode));
    }
    if (!GetExitCodeProcess(run.hProcess, &result) || result == STILL_ACTIVE) {
        result = ERROR_PROCESS_ABORTED;  // the wait failed: no outcome to trust
    }
    CloseHandle(run.hProcess);
    return true;
}

}  // namespace

DateParts Win32Clock::LocalNow() const {
    ::SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

long Win32Clock::UtcOffsetSecondsNow() const {
    // FileTimeToLocalFileTime applies the bias in force now, standard or daylight.
    ::SYSTEMTIME utcNow{};
    GetSystemTime(&utcNow);
    FILETIME utc{};
    FILETIME local{};
    SystemTimeToFileTime(&utcNow, &utc);
    FileTimeToLocalFileTime(&utc, &local);
    return static_cast<long>((FileTimeValue(local) - FileTimeValue(utc)) / kFileTimeUnitsPerSecond);
}

ClockReading Win32Clock::PreciseNow() const {
    FILETIME utc{};
    GetSystemTimeAsFileTime(&utc);
    constexpr long long kUnixEpoch = 116'444'736'000'000'000;  // 1970 in FILETIME units
    return {(FileTimeValue(utc) - kUnixEpoch) / 10,
            static_cast<std::int64_t>(GetTickCount64()) * 1000};
}

int Win32Clock::SetSystemTime(const SystemTimeRecord& utc, const ClockReading& arrival) {
    EnableSystemTimePrivilege();
    const SystemTimeRecord target =
        UtcRecord(StepTarget(utc, arrival, PreciseNow().monotonicMicroseconds));
    if (SetSystemUtc(target)) {
        lastError_.clear();
        return 1;
    }
    const DWORD error = GetLastError();
    if (owner_ == nullptr) {
        lastError_ = UnattendedRefusal(error, SystemText(error));
        return 0;
    }
    // The helper carries the server's second forward itself, from the same arrival reading.
    const std::string order = std::to_string(UnixSeconds(utc)) + " " +
                              std::to_string(arrival.monotonicMicroseconds / 1000);
    DWORD result = 0;
    if ((error == ERROR_PRIVILEGE_NOT_HELD || error == ERROR_ACCESS_DENIED) &&
        SetWithConsent(owner_, order, result)) {
        lastError_ = result == 0 ? "" : ConsentRefusal(result, SystemText(result));
        return result == 0 ? 1 : 0;
    }
    lastError_ = ClockRefusal(error, SystemText(error));
    return 0;
}

}  // namespace qlok::win32
