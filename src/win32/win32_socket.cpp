#include "win32/win32_socket.h"

#include <cstring>
#include <utility>

#include "win32/win32_system_text.h"

namespace qlok::win32 {

namespace {

constexpr UINT_PTR kQueueTimerId = 2;
constexpr UINT_PTR kDeadlineTimerId = 3;

// Drops the messages of one kind still queued for the window: their socket or request is
// gone, and a new one may carry the same handle.
void Purge(HWND window, UINT message) {
    MSG stale{};
    while (PeekMessageA(&stale, window, message, message, PM_REMOVE)) {
    }
}

}  // namespace

Win32Transport::Win32Transport(HWND window) : window_(window) {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32Transport::~Win32Transport() {
    Stop();
    if (started_) {
        WSACleanup();
    }
}

void Win32Transport::Open(const std::string& host, int port, SocketAttempt& attempt) {
    Stop();
    attempt_ = &attempt;
    port_ = static_cast<std::uint16_t>(port);
    lastError_ = 0;
    const unsigned long dotted = inet_addr(host.c_str());
    if (dotted != INADDR_NONE) {
        in_addr address{};
        address.s_addr = dotted;
        addresses_.assign(1, address);
        attempt.Resolved();
        ConnectNext();
        return;
    }
    hostBuffer_.assign(MAXGETHOSTSTRUCT, '\0');
    lookup_ = WSAAsyncGetHostByName(window_, kLookupMessage, host.c_str(), hostBuffer_.data(),
                                    static_cast<int>(hostBuffer_.size()));
    if (lookup_ == nullptr) {
        Fail(WSAGetLastError());
    }
}

void Win32Transport::Stop() {
    if (lookup_ != nullptr) {
        WSACancelAsyncRequest(lookup_);
        lookup_ = nullptr;
        Purge(window_, kLookupMessage);
    }
    CloseSocket();
    addresses_.clear();
    attempt_ = nullptr;
}

bool Win32Transport::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kLookupMessage) {
        LookupDone(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
        return true;
    }
    if (message == kSelectMessage) {
        if (static_cast<SOCKET>(wParam) == socket_ && socket_ != INVALID_SOCKET) {
            SelectEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
        }
        return true;
    }
    return false;
}

void Win32Transport::LookupDone(HANDLE request, int error) {
    if (request != lookup_ || attempt_ == nullptr) {
        return;
    }
    lookup_ = nullptr;
    const auto* host = reinterpret_cast<const hostent*>(hostBuffer_.data());
    if (error == 0 && host->h_addrtype == AF_INET) {
        for (char** entry = host->h_addr_list; entry != nullptr && *entry != nullptr; ++entry) {
            in_addr address{};
            std::memcpy(&address, *entry, sizeof address);
            addresses_.push_back(address);
        }
    }
    if (addresses_.empty()) {
        attempt_->NotResolved(
            SystemText(static_cast<unsigned long>(error != 0 ? error : WSAHOST_NOT_FOUND)));
        return;
    }
    attempt_->Resolved();
    ConnectNext();
}

void Win32Transport::ConnectNext() {
    while (!addresses_.empty()) {
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(port_);
        target.sin_addr = addresses_.front();
        addresses_.erase(addresses_.begin());
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (socket_ == INVALID_SOCKET) {
            lastError_ = WSAGetLastError();
            continue;
        }
        // The socket turns non-blocking here; its events come to the window.
        if (WSAAsyncSelect(socket_, window_, kSelectMessage, FD_CONNECT | FD_READ | FD_CLOSE) ==
                0 &&
            (connect(socket_, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0 ||
             WSAGetLastError() == WSAEWOULDBLOCK)) {
            return;
        }
        lastError_ = WSAGetLastError();
        CloseSocket();
    }
    Fail(lastError_ != 0 ? lastError_ : WSAEADDRNOTAVAIL);
}

void Win32Transport::SelectEvent(int event, int error) {
    switch (event) {
        case FD_CONNECT:
            if (error == 0) {
                attempt_->Connected();
                return;
            }
            lastError_ = error;
            CloseSocket();
            ConnectNext();
            return;
        case FD_READ:
            if (error != 0) {
                Fail(error);
                return;
            }
            Read(false);
            return;
        case FD_CLOSE:
            // A reset arrives as a close with an error; a clean close may leave bytes unread.
            if (error != 0) {
                Fail(error);
                return;
            }
            if (Read(true)) {
                attempt_->PeerClosed();
            }
            return;
        default:
            return;
    }
}

bool Win32Transport::Read(bool all) {
    // One recv per FD_READ: Winsock posts another while bytes are left, so a flood cannot
    // starve the window. At the close everything left is taken.
    std::string bytes;
    char buffer[1 << 16];
    do {
        const int n = recv(socket_, buffer, sizeof buffer, 0);
        if (n == 0) {
            break;
        }
        if (n < 0) {
            const int error = WSAGetLastError();
            if (error == WSAEWOULDBLOCK) {
                break;
            }
            attempt_->Received(bytes);
            Fail(error);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    } while (all);
    attempt_->Received(bytes);
    return true;
}

void Win32Transport::CloseSocket() {
    if (socket_ == INVALID_SOCKET) {
        return;
    }
    WSAAsyncSelect(socket_, window_, 0, 0);
    closesocket(socket_);
    socket_ = INVALID_SOCKET;
    Purge(window_, kSelectMessage);
}

void Win32Transport::Fail(int error) {
    if (attempt_ != nullptr) {
        attempt_->Failed(error, SystemText(static_cast<unsigned long>(error)));
    }
}

Win32Socket::Win32Socket(HWND window, const SystemClock& clock, SocketEvents events)
    : transport_(window),
      queue_(window, kQueueTimerId),
      deadline_(window, kDeadlineTimerId),
      attempt_(transport_, queue_, deadline_, clock, std::move(events)) {}

bool Win32Socket::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message == kPostedMessage) {
        return queue_.Fire(message, wParam, lParam) || deadline_.Fire(message, wParam, lParam);
    }
    return transport_.HandleMessage(message, wParam, lParam);
}

}  // namespace qlok::win32
