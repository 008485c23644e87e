// The Winsock control on Windows: WSAAsyncSelect on the main window drives the attempt's rules.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sync/socket_attempt.h"
#include "win32/win32_one_shot_timer.h"

namespace qlok::win32 {

// Window messages of the socket layer, beside the window's own and the timers' kPostedMessage.
inline constexpr UINT kSelectMessage = WM_APP + 1;  // WSAAsyncSelect: wParam socket, lParam event
inline constexpr UINT kLookupMessage = WM_APP + 2;  // WSAAsyncGetHostByName: wParam request

// Name lookup, connection and reading with the window's asynchronous Winsock calls.
class Win32Transport final : public SocketTransport {
  public:
    explicit Win32Transport(HWND window);
    ~Win32Transport() override;
    Win32Transport(const Win32Transport&) = delete;
    Win32Transport& operator=(const Win32Transport&) = delete;

    void Open(const std::string& host, int port, SocketAttempt& attempt) override;
    void Stop() override;
    // kLookupMessage and kSelectMessage; true when the message was the socket layer's.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    void LookupDone(HANDLE request, int error);
    // Connects to the next address left; reports the last failure when none is.
    void ConnectNext();
    void SelectEvent(int event, int error);
    // Everything the connection holds now; false (and reported) on a failure.
    bool Read(bool all);
    void CloseSocket();
    void Fail(int error);

    HWND window_;
    bool started_ = false;  // WSAStartup succeeded
    SocketAttempt* attempt_ = nullptr;
    std::uint16_t port_ = 0;
    HANDLE lookup_ = nullptr;
    std::vector<char> hostBuffer_;
    std::vector<in_addr> addresses_;  // those not tried yet
    int lastError_ = 0;
    SOCKET socket_ = INVALID_SOCKET;
};

// Winsock1: the attempt's rules over the transport, with its two one-shot timers.
class Win32Socket {
  public:
    Win32Socket(HWND window, const SystemClock& clock, SocketEvents events);

    Socket& Control() { return attempt_; }
    // A message of the main window; true when it was the socket's.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    Win32Transport transport_;
    Win32OneShotTimer queue_;
    Win32OneShotTimer deadline_;
    SocketAttempt attempt_;
};

}  // namespace qlok::win32
