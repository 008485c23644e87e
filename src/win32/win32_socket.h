// The Winsock control on Windows: WSAAsyncSelect on the main window drives the attempt's rules.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sync/socket_attempt.h"
#include "win32/win32_one_shot_timer.h"

namespace qlok::win32 {

// Window messages of the socket layer, beside the window's own and the timers' kPostedMessage.
inline constexpr UINT kSelectMessage = WM_APP + 1;  // WSAAsyncSelect: wParam socket, lParam event
inline constexpr UINT kLookupMessage = WM_APP + 2;  // a lookup thread's answer: lParam owns it

// Name lookup on a thread of its own, and connection and reading with the window's
// asynchronous Winsock calls.
class Win32Transport final : public SocketTransport {
  public:
    explicit Win32Transport(HWND window);
    ~Win32Transport() override;
    Win32Transport(const Win32Transport&) = delete;
    Win32Transport& operator=(const Win32Transport&) = delete;

    void LookUp(const std::string& host, SocketAttempt& attempt) override;
    void ConnectTo(const IpAddress& address, int port, SocketAttempt& attempt) override;
    void Stop() override;
    std::string HostNotFoundText() const override;
    // kLookupMessage and kSelectMessage; true when the message was the socket layer's.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    struct Mailbox;
    struct Answer;
    void SelectEvent(int event, int error);
    // What the connection holds now, up to the limit of a pass or all of it; false (and
    // reported) on a failure.
    bool Read(bool all);
    void CloseSocket();
    void Fail(int error);

    HWND window_;
    bool started_ = false;  // WSAStartup succeeded
    SocketAttempt* attempt_ = nullptr;
    std::shared_ptr<Mailbox> mailbox_;  // how lookup threads reach the window while we live
    std::uint64_t generation_ = 0;      // the lookup an answer belongs to
    SOCKET socket_ = INVALID_SOCKET;
};

// Winsock1: the attempt's rules over the transport, with its two one-shot timers.
class Win32Socket {
  public:
    Win32Socket(HWND window, const SystemClock& clock, SocketEvents events,
                int timeoutMs = kAttemptTimeoutMs);

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
