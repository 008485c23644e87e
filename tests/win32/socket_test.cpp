// The socket cases on a window's messages, against servers on the loopback interface.
#include <gtest/gtest.h>
#include <windows.h>

#include "socket_conformance.h"
#include "win32/win32_services.h"
#include "win32/win32_socket.h"

namespace qlok::win32 {
namespace {

Win32Socket* current = nullptr;  // the socket whose messages the test window takes

LRESULT CALLBACK SocketWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return current != nullptr && current->HandleMessage(message, wParam, lParam)
               ? 0
               : DefWindowProcA(window, message, wParam, lParam);
}

TEST(Win32Socket, PassesTheSocketCases) {
    WSADATA data{};
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);  // for the servers
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &SocketWindow;
    windowClass.lpszClassName = "QLOKsockettest";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, "QLOKsockettest", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                        nullptr, nullptr, nullptr);
    const Win32Clock clock;
    const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version");
    conformance::RunCases(
        [&](SocketEvents events, int timeoutMs) {
            auto socket =
                std::make_shared<Win32Socket>(window, clock, std::move(events), timeoutMs);
            current = socket.get();
            return std::shared_ptr<Socket>(socket, &socket->Control());
        },
        [](const auto& condition) {
            const DWORD deadline = GetTickCount() + 15'000;
            for (MSG message{}; !condition() && GetTickCount() < deadline;) {
                if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                    DispatchMessageA(&message);
                } else {
                    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                }
            }
            return condition();
        },
        [&](const conformance::Case& c) {
            // Wine raises a reset as FD_CLOSE without an error, where Windows gives 10054.
            return wine && c.server == conformance::Server::kReset
                       ? "Wine reports a reset as a clean close"
                       : nullptr;
        });
    current = nullptr;
    DestroyWindow(window);
    WSACleanup();
}

}  // namespace
}  // namespace qlok::win32
