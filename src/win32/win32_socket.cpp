#include "win32/win32_socket.h"

#include <ws2tcpip.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "win32/win32_system_text.h"

namespace qlok::win32 {

namespace {

namespace we = winsock_error;
// Winsock's failures are raised with their own numbers: the table's are the system's.
static_assert(we::kUnspecified == WSAEINTR && we::kAccessDenied == WSAEACCES &&
              we::kInvalidArgument == WSAEINVAL && we::kTooManySockets == WSAEMFILE &&
              we::kFamilyNotSupported == WSAEAFNOSUPPORT && we::kAddressInUse == WSAEADDRINUSE &&
              we::kAddressNotAvailable == WSAEADDRNOTAVAIL && we::kNetworkDown == WSAENETDOWN &&
              we::kNetworkUnreachable == WSAENETUNREACH &&
              we::kConnectionAborted == WSAECONNABORTED && we::kConnectionReset == WSAECONNRESET &&
              we::kNoBufferSpace == WSAENOBUFS && we::kNotConnected == WSAENOTCONN &&
              we::kTimedOut == WSAETIMEDOUT && we::kConnectionRefused == WSAECONNREFUSED &&
              we::kHostDown == WSAEHOSTDOWN && we::kHostUnreachable == WSAEHOSTUNREACH &&
              we::kHostNotFound == WSAHOST_NOT_FOUND && we::kTryAgain == WSATRY_AGAIN &&
              we::kNoRecovery == WSANO_RECOVERY && we::kNoData == WSANO_DATA);

constexpr UINT_PTR kQueueTimerId = 2;
constexpr UINT_PTR kDeadlineTimerId = 3;

// Drops the messages of one kind still queued for the window: their socket is
// gone, and a new one may carry the same handle.
void Purge(HWND window, UINT message) {
    MSG stale{};
    while (PeekMessageA(&stale, window, message, message, PM_REMOVE)) {
    }
}

}  // namespace

// Lookup threads post their answers to the window only while the transport lives; the
// destructor closes the mailbox under its lock, then frees the answers already posted.
struct Win32Transport::Mailbox {
    explicit Mailbox(HWND owner) : window(owner) {}
    std::mutex lock;
    HWND window;
};

// What a lookup thread found, for the lookup of that generation.
struct Win32Transport::Answer {
    std::uint64_t lookup = 0;
    std::vector<IpAddress> addresses;
    int error = 0;
};

namespace {

// Asks the system's resolver for a host's IPv4 and IPv6 addresses; blocks.
void Resolve(const std::string& host, std::vector<IpAddress>& addresses, int& error) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    error = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (error != 0) {
        return;
    }
    addresses = ResolvedAddresses<sockaddr_in, sockaddr_in6>(found, AF_INET, AF_INET6);
    freeaddrinfo(found);
}

}  // namespace

Win32Transport::Win32Transport(HWND window)
    : window_(window), mailbox_(std::make_shared<Mailbox>(window)) {
    WSADATA data{};
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

Win32Transport::~Win32Transport() {
    Stop();
    {
        const std::lock_guard<std::mutex> closing(mailbox_->lock);
        mailbox_->window = nullptr;
    }
    MSG stale{};
    while (PeekMessageA(&stale, window_, kLookupMessage, kLookupMessage, PM_REMOVE)) {
        delete reinterpret_cast<Answer*>(stale.lParam);
    }
    if (started_) {
        WSACleanup();
    }
}

void Win32Transport::LookUp(const std::string& host, SocketAttempt& attempt) {
    Stop();
    attempt_ = &attempt;
    // getaddrinfo blocks and cannot be cancelled: it runs on a thread of its own, and an
    // abandoned lookup runs to its end and is ignored.
    try {
        std::thread([mailbox = mailbox_, host, lookup = generation_] {
            WSADATA data{};
            const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;  // for as long as we ask
            auto answer = std::make_unique<Answer>();
            answer->lookup = lookup;
            Resolve(host, answer->addresses, answer->error);
            {
                const std::lock_guard<std::mutex> posting(mailbox->lock);
                if (mailbox->window != nullptr &&
                    PostMessageA(mailbox->window, kLookupMessage, 0,
                                 reinterpret_cast<LPARAM>(answer.get()))) {
                    answer.release();  // the window's now
                }
            }
            if (started) {
                WSACleanup();
            }
        }).detach();
    } catch (const std::system_error& error) {
        attempt.NotResolved(error.what());
    }
}

void Win32Transport::ConnectTo(const IpAddress& address, int port, SocketAttempt& attempt) {
    Stop();
    attempt_ = &attempt;
    sockaddr_storage target{};
    const int length = FillSocketAddress<sockaddr_in, sockaddr_in6>(
        address, htons(static_cast<std::uint16_t>(port)),
        static_cast<std::uint32_t>(std::strtoul(address.zone.c_str(), nullptr, 10)), AF_INET,
        AF_INET6, target);
    socket_ = socket(target.ss_family, SOCK_STREAM, IPPROTO_TCP);
    // The socket turns non-blocking here; its events come to the window.
    if (socket_ != INVALID_SOCKET &&
        WSAAsyncSelect(socket_, window_, kSelectMessage, FD_CONNECT | FD_READ | FD_CLOSE) == 0 &&
        (connect(socket_, reinterpret_cast<const sockaddr*>(&target), length) == 0 ||
         WSAGetLastError() == WSAEWOULDBLOCK)) {
        return;
    }
    const int error = WSAGetLastError();
    CloseSocket();
    attempt.ConnectFailed(error, SystemText(static_cast<unsigned long>(error)));
}

void Win32Transport::Stop() {
    ++generation_;
    CloseSocket();
    attempt_ = nullptr;
}

std::string Win32Transport::HostNotFoundText() const {
    return SystemText(we::kHostNotFound);
}

bool Win32Transport::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kLookupMessage) {
        const std::unique_ptr<Answer> answer(reinterpret_cast<Answer*>(lParam));
        if (answer->lookup != generation_ || attempt_ == nullptr) {
            return true;  // abandoned
        }
        if (answer->addresses.empty()) {
            attempt_->NotResolved(SystemText(static_cast<unsigned long>(
                answer->error != 0 ? answer->error : we::kHostNotFound)));
        } else {
            attempt_->Resolved(std::move(answer->addresses));
        }
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

void Win32Transport::SelectEvent(int event, int error) {
    switch (event) {
        case FD_CONNECT:
            if (error == 0) {
                attempt_->Connected();
                return;
            }
            CloseSocket();
            attempt_->ConnectFailed(error, SystemText(static_cast<unsigned long>(error)));
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
            if (SocketAttempt* attempt = attempt_; Read(true)) {
                attempt->PeerClosed();  // a read may have ended the attempt already
            }
            return;
        default:
            return;
    }
}

bool Win32Transport::Read(bool all) {
    // Winsock posts another FD_READ while bytes are left, so a pass may stop at the limit.
    // At the close everything left is taken.
    SocketAttempt* attempt = attempt_;  // the bytes may end the attempt, which stops us
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
            attempt->Received(bytes);
            attempt->Failed(error, SystemText(static_cast<unsigned long>(error)));
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    } while (all || bytes.size() < kMaxReadPerPass);
    attempt->Received(bytes);
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

Win32Socket::Win32Socket(HWND window, const SystemClock& clock, SocketEvents events, int timeoutMs)
    : transport_(window),
      queue_(window, kQueueTimerId),
      deadline_(window, kDeadlineTimerId),
      attempt_(transport_, queue_, deadline_, clock, std::move(events), timeoutMs) {}

bool Win32Socket::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message == kPostedMessage) {
        return queue_.Fire(message, wParam, lParam) || deadline_.Fire(message, wParam, lParam);
    }
    return transport_.HandleMessage(message, wParam, lParam);
}

}  // namespace qlok::win32
