#include "win32/win32_desktop.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "platform/winapi_values.h"

namespace qlok::win32 {

namespace {

// The logic's window procedure; the program has one main window.
MessageProcedure installedProcedure = nullptr;

// The window procedure in the system's calling convention.
LRESULT CALLBACK Trampoline(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    return installedProcedure(reinterpret_cast<std::uintptr_t>(hWnd), uMsg, wParam, lParam);
}

// The folder of a path, with its closing backslash; empty when it has none.
std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of("\\/") + 1);
}

}  // namespace

std::string SystemProgramPath(const char* exe) {
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    std::string path = std::string(folder, length < MAX_PATH ? length : 0) + "\\" + exe;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const UINT windows = GetWindowsDirectoryA(folder, MAX_PATH);
        path = std::string(folder, windows < MAX_PATH ? windows : 0) + "\\" + exe;
    }
    return path;
}

std::string PathBesideProgram(const char* name) {
    std::string path(MAX_PATH, '\0');
    DWORD length = 0;
    // A path longer than the buffer is cut to fit: grow it until the whole path fits.
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
               path.size() &&
           path.size() < 32768) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    return FolderOf(path) + name;
}

bool StartProgram(const std::string& program, std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The command lines are as they were when the programs were found by search: only the program
// started is fixed, so a Notepad.exe in the working folder is never the one run.
bool Win32Shell::OpenTextFile(const std::string& path) {
    return StartProgram(SystemProgramPath("notepad.exe"), "Notepad.exe " + path);
}

bool Win32Shell::OpenDateTimeSettings() {
    return StartProgram(SystemProgramPath("rundll32.exe"),
                        "rundll32.exe shell32.dll,Control_RunDLL timedate.cpl,,0");
}

void Win32MessageBoxes::Show(const std::string& text, const std::string& title, int style) {
    MessageBoxA(owner_, text.c_str(), title.c_str(), static_cast<UINT>(style));
}

bool Win32TrayIcons::Notify(int operation, const NotifyIconData& data) {
    // The first form of the record: 88 bytes in a 32-bit program (a 64-bit one's handles are
    // wider).
    static_assert(sizeof(void*) == 8 || NOTIFYICONDATAA_V1_SIZE == win::kNotifyIconDataV1Size);
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = reinterpret_cast<HWND>(data.hWnd);
    record.uID = data.uID;
    record.uFlags = data.uFlags;
    record.uCallbackMessage = data.uCallbackMessage;
    record.hIcon = reinterpret_cast<HICON>(data.hIcon);
    const std::size_t tip = std::min(data.szTip.size(), sizeof record.szTip - 1);
    std::memcpy(record.szTip, data.szTip.data(), tip);  // the rest stays NUL
    return Shell_NotifyIconA(static_cast<DWORD>(operation), &record) != FALSE;
}

std::size_t Win32TrayIcons::CharacterLength(std::string_view text) const {
    // Only a double-byte code page has characters of two bytes.
    return text.size() >= 2 && IsDBCSLeadByte(static_cast<BYTE>(text.front())) ? 2 : 1;
}

bool Win32WindowMenu::AppendItem(std::uint32_t flags, std::uint32_t id, const std::string& text) {
    const HMENU menu = GetSystemMenu(window_, FALSE);
    const char* item = (flags & MF_SEPARATOR) != 0 ? nullptr : text.c_str();
    return AppendMenuA(menu, flags, id, item) != FALSE;
}

WindowProcedure Win32WindowMenu::InstallWindowProcedure(MessageProcedure procedure) {
    installedProcedure = procedure;
    // SetWindowLongA with GWL_WNDPROC in a 32-bit program; its pointer-wide form in a 64-bit one.
    return static_cast<WindowProcedure>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Trampoline)));
}

std::intptr_t Win32WindowMenu::CallWindowProcedure(WindowProcedure procedure, std::uintptr_t hWnd,
                                                   std::uint32_t uMsg, std::uintptr_t wParam,
                                                   std::intptr_t lParam) {
    return CallWindowProcA(reinterpret_cast<WNDPROC>(procedure), reinterpret_cast<HWND>(hWnd), uMsg,
                           wParam, lParam);
}

void Win32ActivityLog::Line(std::string_view line) {
    std::string text(line);
    text += '\n';
    OutputDebugStringA(text.c_str());
}

}  // namespace qlok::win32
