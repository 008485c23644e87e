// Drives a running qlok.exe from outside through window messages, as the system would:
// each argument is one step, done in order; what a step finds goes to standard output.
//   click:TEXT    the button with this text     sys:N   WM_SYSCOMMAND N
//   tray:N        the tray icon's callback with mouse message N
//   power:N       WM_POWERBROADCAST N (18: resumed from sleep)
//   window:TITLE  a top-level window with this title: its text (a message box's), then closed
//   shown:0|1     waits until the window is hidden / shown: its state and caption
//   list          the activity list's horizontal extent, then its visible width, in pixels
//   close         closes the window and waits until it is gone
// Exit status 1 when a step waited ten seconds in vain; the steps after it are not done.
// Copied under another name, it stands in for that program: it only adds a line "PATH|COMMAND
// LINE" to started.txt in the current folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Text(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

template <typename Condition>
bool Await(Condition condition) {
    for (int i = 0; i < 200 && !condition(); ++i) {
        Sleep(50);
    }
    return condition();
}

}  // namespace

int main(int argc, char** argv) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (std::strstr(self, "poke") == nullptr) {
        std::FILE* started = std::fopen("started.txt", "a");
        std::fprintf(started, "%s|%s\n", self, GetCommandLineA());
        return std::fclose(started);
    }
    HWND form = nullptr;
    bool done = Await([&] { return (form = FindWindowA("QLOKfrm", nullptr)) != nullptr; });
    for (int i = 1; done && i < argc; ++i) {
        const std::string step = argv[i];
        const std::string name = step.substr(0, step.find(':'));
        const std::string value = step.substr(std::min(step.size(), name.size() + 1));
        const long number = std::strtol(value.c_str(), nullptr, 10);
        HWND found = nullptr;
        if (name == "click") {
            found = FindWindowExA(form, nullptr, "Button", value.c_str());
            PostMessageA(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(found), BN_CLICKED),
                         reinterpret_cast<LPARAM>(found));
        } else if (name == "sys") {
            PostMessageA(form, WM_SYSCOMMAND, static_cast<WPARAM>(number), 0);
        } else if (name == "tray") {
            PostMessageA(form, WM_MOUSEMOVE, 1, number);
        } else if (name == "power") {
            PostMessageA(form, WM_POWERBROADCAST, static_cast<WPARAM>(number), 0);
        } else if (name == "window") {
            done = Await([&] { return (found = FindWindowA(nullptr, value.c_str())) != nullptr; });
            const HWND text = GetDlgItem(found, 0xFFFF);  // a message box's text
            std::printf("%s %s\n", step.c_str(), text != nullptr ? Text(text).c_str() : "");
            PostMessageA(found, WM_CLOSE, 0, 0);
        } else if (name == "shown") {
            done = Await([&] { return IsWindowVisible(form) == number; });
            std::printf("%s iconic=%d caption=%s\n", step.c_str(), IsIconic(form),
                        Text(form).c_str());
        } else if (name == "list") {
            RECT visible{};
            GetClientRect(found = FindWindowExA(form, nullptr, "ListBox", nullptr), &visible);
            std::printf("%d %ld\n",
                        static_cast<int>(SendMessageA(found, LB_GETHORIZONTALEXTENT, 0, 0)),
                        visible.right);
        } else if (name == "close") {
            PostMessageA(form, WM_CLOSE, 0, 0);
            done = Await([&] { return IsWindow(form) == FALSE; });
        }
        std::fflush(stdout);
    }
    return done ? 0 : 1;
}
