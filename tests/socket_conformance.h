// The socket cases every desktop's transport must pass, each against a server of its own on
// the loopback interface, with the events the window must get.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#define closesocket close
#endif
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <utility>

#include "sync/socket_attempt.h"

namespace qlok::conformance {

// What a case's server does with its one client; kGone stops listening before anyone comes.
enum class Server { kWhole, kSplit, kReset, kSilent, kFlood, kGone };

struct Case {
    const char* name;
    const char* host;  // what the window connects to; the server listens on ::1 for ::1
    Server server;
    const char* events;  // a pattern of the window's events, in order
    bool abandon;        // a lookup of localhost comes first, given up for host
};

// The unknown host holds a space: no resolver is ever asked, so no query leaves the machine.
inline const Case kCases[] = {
    {"refused", "127.0.0.1", Server::kGone, "error10061 ", false},
    {"reset", "127.0.0.1", Server::kReset, "connect data20 error10054 ", false},
    {"silent server", "127.0.0.1", Server::kSilent, "connect data20 error10060 ", false},
    {"split reply", "127.0.0.1", Server::kSplit, "connect data50 data1 close ", false},
    {"flood", "127.0.0.1", Server::kFlood, "connect (data\\d+ )+error10060 ", false},
    {"abandoned lookup", "localhost", Server::kWhole, "connect data51 close ", true},
    {"IPv6 literal", "::1", Server::kWhole, "connect data51 close ", false},
    {"unknown host", "no such host.invalid", Server::kGone, "error11001 ", false},
};

// Listens on a free loopback port and serves one client as told, on a thread of its own.
class LoopbackServer {
  public:
    LoopbackServer(bool v6, Server server) {
        sockaddr_in6 in6{};
        sockaddr_in in{};
        in6.sin6_family = AF_INET6;
        in6.sin6_addr = in6addr_loopback;
        in.sin_family = AF_INET;
        in.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        auto* where = v6 ? reinterpret_cast<sockaddr*>(&in6) : reinterpret_cast<sockaddr*>(&in);
        socklen_t length = v6 ? sizeof in6 : sizeof in;
        listener_ = socket(where->sa_family, SOCK_STREAM, 0);
        if (bind(listener_, where, length) == 0 && listen(listener_, 1) == 0 &&
            getsockname(listener_, where, &length) == 0) {
            port_ = ntohs(v6 ? in6.sin6_port : in.sin_port);  // else no such address here
        }
        if (server == Server::kGone || port_ == 0) {
            Stop();
        } else {
            thread_ = std::thread([this, server] { Serve(server); });
        }
    }
    ~LoopbackServer() { Stop(); }

    int Port() const { return port_; }

  private:
    // Chunks apart in time, so that the window reads them apart.
    static void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(100)); }
    bool Send(const std::string& bytes) const {
#ifdef _WIN32
        return send(client_, bytes.data(), static_cast<int>(bytes.size()), 0) > 0;
#else
        return send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL) > 0;  // no SIGPIPE
#endif
    }
    void Serve(Server server) {
        client_ = accept(listener_, nullptr, nullptr);
        const std::string reply = "\n60676 24-12-06 19:02:03 00 0 0 123.4 UTC(NIST) * \n";
        const linger hard{1, 0};  // a close with no linger time resets
        char none = 0;
        switch (server) {
            case Server::kWhole:
            case Server::kSplit:
                Send(server == Server::kWhole ? reply : reply.substr(0, 50));
                if (server == Server::kSplit) {
                    Pause();
                    Send(reply.substr(50));
                }
                shutdown(client_, 1);
                break;
            case Server::kReset:
                Send(reply.substr(0, 20));
                Pause();
                setsockopt(client_, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard),
                           sizeof hard);
                break;
            case Server::kSilent:
                Send(reply.substr(0, 20));
                recv(client_, &none, 1, 0);  // until the window closes its side
                break;
            case Server::kFlood:
                while (Send(std::string(1 << 16, ' '))) {
                }
                break;
            case Server::kGone:
                break;
        }
        closesocket(client_);
    }
    void Stop() {
        if (!std::exchange(stopped_, true)) {
            shutdown(listener_, 2);  // wakes an accept that never got its client
            closesocket(listener_);
        }
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    decltype(socket(0, 0, 0)) listener_ = 0, client_ = 0;
    int port_ = 0;
    bool stopped_ = false;
    std::thread thread_;
};

// Runs every case: makeSocket(events, timeoutMs) makes a desktop's Winsock1; waitFor(condition)
// runs its event loop until the condition holds or 15 s pass; cannotPass(case) says why a case
// cannot pass where the test runs, or null.
template <typename MakeSocket, typename WaitFor, typename CannotPass>
void RunCases(MakeSocket makeSocket, WaitFor waitFor, CannotPass cannotPass) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const bool v6 = std::string(c.host) == "::1";
        LoopbackServer server(v6, c.server);
        const char* why = server.Port() == 0 && v6 ? "no IPv6 here" : cannotPass(c);
        if (why != nullptr) {
            std::printf("%-16s skipped: %s\n", c.name, why);
            continue;
        }
        ASSERT_NE(server.Port(), 0);
        std::string events;
        // The silent server and the flood end at the deadline; a first lookup may be slow.
        const bool endless = c.server == Server::kSilent || c.server == Server::kFlood;
        std::shared_ptr<Socket> socket =
            makeSocket(SocketEvents{[&] { events += "connect "; },
                                    [&](std::int32_t count) {
                                        events += "data" + std::to_string(count) + " ";
                                        socket->GetData();
                                    },
                                    [&] { events += "close "; },
                                    [&](std::int16_t number, const std::string& text) {
                                        events += "error" + std::to_string(number) +
                                                  (text.empty() ? "? " : " ");
                                    }},
                       endless ? 1000 : 10'000);
        for (const char* host : {c.abandon ? "localhost" : nullptr, c.host}) {
            if (host != nullptr) {
                socket->SetRemoteHost(host);
                socket->SetRemotePort(server.Port());
                EXPECT_FALSE(socket->Connect().has_value());
            }
        }
        EXPECT_EQ(events, "") << "an event came from inside Connect";
        EXPECT_TRUE(waitFor([&] { return std::regex_search(events, std::regex("close|error")); }));
        EXPECT_TRUE(std::regex_match(events, std::regex(c.events))) << events;
        if (c.abandon) {
            socket->SetRemoteHost("localhost");  // a lookup that outlives the socket
            socket->Connect();
        }
    }
}

}  // namespace qlok::conformance
