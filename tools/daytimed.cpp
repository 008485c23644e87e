// qlok-daytimed: a small Daytime server (RFC 867) that answers in the NIST layout.
//
// Each connection gets one 51-byte line with this machine's UTC time, optionally
// skewed, then the server closes it. Switches make it misbehave in the ways a
// client has to cope with. It stops by itself after --timeout seconds or --count
// connections, so that a test can never leave it behind.
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

namespace {

constexpr std::size_t kReplyLength = 51;
constexpr int kUsageError = 2;

constexpr std::string_view kUsage =
    R"(Usage: qlok-daytimed [options]

A Daytime server (RFC 867) that sends this machine's UTC time as one 51-byte
line in the NIST layout, then closes the connection:

  "\nJJJJJ YY-MM-DD HH:MM:SS 00 0 0 752.6 UTC(NIST) * \n"

Options:
  --address A        listen on this numeric IPv4 or IPv6 address (default 127.0.0.1;
                     0.0.0.0 or :: for every interface)
  --port N           listen on this TCP port (default 13; 0 picks a free one)
  --skew SECONDS     add SECONDS (may be negative) to the time served
  --split N          send the first N bytes, wait, then the rest
  --split-delay MS   the wait of --split in milliseconds (default 200)
  --length N         pad the reply with spaces, or cut it, to N bytes
  --lf-only          send only a line feed
  --silent           send nothing; keep the connection open until the client
                     closes it (or --hold-ms passes)
  --hold-ms MS       longest time a --silent connection is held (default: until
                     the client closes or the server's time is up)
  --flood            send the reply again and again until the client closes
  --reset            close the connection with a reset (RST) instead of sending the
                     rest of the reply; with --split N the first N bytes go first
  --count N          stop after N connections
  --timeout SECONDS  stop after this many seconds (default 60; 0 runs until stopped)
  --ready-file PATH  once listening, write the port number to PATH
  --quiet            do not log each connection on standard error
  --help             show this text

Exit status: 0 when stopped by --count or --timeout, 1 on a socket error,
2 on a bad option.
)";

struct Options {
    std::string address = "127.0.0.1";
    int port = 13;
    long long skewSeconds = 0;
    std::optional<std::size_t> split;
    long long splitDelayMs = 200;
    std::optional<std::size_t> length;
    bool lfOnly = false;
    bool silent = false;
    std::optional<long long> holdMs;
    bool reset = false;
    bool flood = false;
    std::optional<long long> count;
    long long timeoutSeconds = 60;
    std::string readyFile;
    bool quiet = false;
};

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

long long ParseInteger(std::string_view option, std::string_view text, long long min,
                       long long max) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max) {
        throw UsageError(std::string(option) + " wants a whole number from " + std::to_string(min) +
                         " to " + std::to_string(max) + ", not '" + std::string(text) + "'");
    }
    return value;
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= argc) {
                throw UsageError(std::string(option) + " needs a value");
            }
            return argv[++i];
        };
        auto number = [&](long long min, long long max) {
            return ParseInteger(option, value(), min, max);
        };
        constexpr long long kBig = 1'000'000'000'000LL;
        if (option == "--help" || option == "-h") {
            std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
            std::exit(0);
        } else if (option == "--address") {
            options.address = value();
        } else if (option == "--port") {
            options.port = static_cast<int>(number(0, 65535));
        } else if (option == "--skew") {
            options.skewSeconds = number(-kBig, kBig);
        } else if (option == "--split") {
            options.split = static_cast<std::size_t>(number(0, 1 << 20));
        } else if (option == "--split-delay") {
            options.splitDelayMs = number(0, 3'600'000);
        } else if (option == "--length") {
            options.length = static_cast<std::size_t>(number(0, 1 << 20));
        } else if (option == "--lf-only") {
            options.lfOnly = true;
        } else if (option == "--silent") {
            options.silent = true;
        } else if (option == "--hold-ms") {
            options.holdMs = number(0, kBig);
        } else if (option == "--reset") {
            options.reset = true;
        } else if (option == "--flood") {
            options.flood = true;
        } else if (option == "--count") {
            options.count = number(1, kBig);
        } else if (option == "--timeout") {
            options.timeoutSeconds = number(0, kBig);
        } else if (option == "--ready-file") {
            options.readyFile = value();
        } else if (option == "--quiet") {
            options.quiet = true;
        } else {
            throw UsageError("unknown option '" + std::string(option) + "'");
        }
    }
    if (options.lfOnly && options.length) {
        throw UsageError("--lf-only and --length cannot be used together");
    }
    return options;
}

// Days since 1970-01-01 to the Modified Julian Date (day 0 = 1858-11-17).
constexpr long long kMjdOfUnixEpoch = 40587;

std::string NistLine(std::time_t seconds) {
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    const long long days =
        static_cast<long long>(seconds) / 86400 - (seconds < 0 && seconds % 86400 != 0);
    char line[64];
    const int written = std::snprintf(
        line, sizeof line, "\n%05lld %02d-%02d-%02d %02d:%02d:%02d 00 0 0 752.6 UTC(NIST) * \n",
        (days + kMjdOfUnixEpoch) % 100000, utc.tm_year % 100, utc.tm_mon + 1, utc.tm_mday,
        utc.tm_hour, utc.tm_min, utc.tm_sec);
    if (written != static_cast<int>(kReplyLength)) {
        throw std::logic_error("the NIST line is not 51 bytes");
    }
    return {line, kReplyLength};
}

std::string Reply(const Options& options) {
    if (options.lfOnly) {
        return "\n";
    }
    const std::time_t now = std::time(nullptr) + static_cast<std::time_t>(options.skewSeconds);
    std::string reply = NistLine(now);
    if (options.length) {
        reply.resize(*options.length, ' ');
    }
    return reply;
}

using Clock = std::chrono::steady_clock;

struct Deadline {
    std::optional<Clock::time_point> at;

    // Milliseconds left for poll(): -1 waits for ever.
    int PollMs() const {
        if (!at) {
            return -1;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*at - Clock::now());
        return static_cast<int>(std::clamp<long long>(left.count(), 0, 1'000'000));
    }
    bool Passed() const { return at && Clock::now() >= *at; }
};

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

// Waits until the peer closes (or sends), the hold time passes or the server's time is up.
void HoldOpen(int fd, const Options& options, const Deadline& serverDeadline) {
    Deadline hold = serverDeadline;
    if (options.holdMs) {
        const auto until = Clock::now() + std::chrono::milliseconds(*options.holdMs);
        if (!hold.at || until < *hold.at) {
            hold.at = until;
        }
    }
    char scratch[512];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, hold.PollMs());
        if (ready == 0 || (ready < 0 && errno != EINTR)) {
            return;
        }
        if (ready > 0 && recv(fd, scratch, sizeof scratch, 0) <= 0) {
            return;  // the client closed (or the connection broke)
        }
    }
}

// Sends the reply over and over until the client closes or the server's time is up; the bytes
// sent.
std::size_t Flood(int fd, std::string_view reply, const Deadline& serverDeadline) {
    std::size_t sent = 0;
    for (;;) {
        pollfd p{fd, POLLOUT, 0};
        const int ready = poll(&p, 1, serverDeadline.PollMs());
        if (ready == 0 || (ready < 0 && errno != EINTR) || (p.revents & (POLLERR | POLLHUP))) {
            return sent;
        }
        const ssize_t n = send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
            return sent;  // the client closed
        }
        sent += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

void CloseWithReset(int fd) {
    const linger abortive{1, 0};
    setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    close(fd);
}

std::string PeerText(const sockaddr_storage& peer) {
    char host[NI_MAXHOST] = "?";
    char port[NI_MAXSERV] = "?";
    getnameinfo(reinterpret_cast<const sockaddr*>(&peer), sizeof peer, host, sizeof host, port,
                sizeof port, NI_NUMERICHOST | NI_NUMERICSERV);
    return std::string(host) + " port " + port;
}

void Serve(int fd, const Options& options, const Deadline& serverDeadline, std::string& what) {
    if (options.silent) {
        what = "held silent";
        HoldOpen(fd, options, serverDeadline);
        close(fd);
        return;
    }
    const std::string reply = Reply(options);
    if (options.flood) {
        what = "flooded with " + std::to_string(Flood(fd, reply, serverDeadline)) + " bytes";
        close(fd);
        return;
    }
    std::string_view rest = reply;
    std::size_t sent = 0;
    if (options.split) {
        const std::string_view first = rest.substr(0, *options.split);
        if (!SendAll(fd, first)) {
            what = "client went away";
            close(fd);
            return;
        }
        sent += first.size();
        rest.remove_prefix(first.size());
        std::this_thread::sleep_for(std::chrono::milliseconds(options.splitDelayMs));
    }
    if (options.reset) {
        what = "sent " + std::to_string(sent) + " bytes, then reset";
        CloseWithReset(fd);
        return;
    }
    if (SendAll(fd, rest)) {
        sent += rest.size();
    }
    what = "sent " + std::to_string(sent) + " bytes";
    if (!options.lfOnly && reply.size() >= 25) {
        what += " (" + reply.substr(7, 17) + " UTC)";
    }
    close(fd);
}

int OpenListener(const Options& options) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(options.port);
    if (const int rc = getaddrinfo(options.address.c_str(), port.c_str(), &hints, &found);
        rc != 0) {
        throw UsageError("--address wants a numeric IPv4 or IPv6 address, not '" + options.address +
                         "' (" + gai_strerror(rc) + ")");
    }
    const int fd = socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    if (fd < 0) {
        freeaddrinfo(found);
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    }
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    const int bound = bind(fd, found->ai_addr, found->ai_addrlen);
    const int error = errno;
    freeaddrinfo(found);
    if (bound != 0 || listen(fd, 16) != 0) {
        const int why = bound != 0 ? error : errno;
        close(fd);
        throw std::runtime_error("cannot listen on " + options.address + " port " + port + ": " +
                                 std::strerror(why));
    }
    return fd;
}

int BoundPort(int fd) {
    sockaddr_storage local{};
    socklen_t size = sizeof local;
    getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size);
    if (local.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&local)->sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in*>(&local)->sin_port);
}

void WriteReadyFile(const std::string& path, int port) {
    // Written under another name first, so a reader never sees half a file.
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::trunc);
        out << port << '\n';
        if (!out) {
            throw std::runtime_error("cannot write " + partial);
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    }
}

int Run(const Options& options) {
    std::signal(SIGPIPE, SIG_IGN);
    const int listener = OpenListener(options);
    const int port = BoundPort(listener);
    Deadline deadline;
    if (options.timeoutSeconds > 0) {
        deadline.at = Clock::now() + std::chrono::seconds(options.timeoutSeconds);
    }
    if (!options.readyFile.empty()) {
        WriteReadyFile(options.readyFile, port);
    }
    if (!options.quiet) {
        std::fprintf(stderr, "qlok-daytimed: listening on %s port %d\n", options.address.c_str(),
                     port);
    }
    long long served = 0;
    while (!options.count || served < *options.count) {
        pollfd p{listener, POLLIN, 0};
        const int ready = poll(&p, 1, deadline.PollMs());
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            break;  // time is up (or poll failed)
        }
        sockaddr_storage peer{};
        socklen_t size = sizeof peer;
        const int fd = accept4(listener, reinterpret_cast<sockaddr*>(&peer), &size, SOCK_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        ++served;
        std::string what;
        Serve(fd, options, deadline, what);
        if (!options.quiet) {
            std::fprintf(stderr, "qlok-daytimed: %s: %s\n", PeerText(peer).c_str(), what.c_str());
        }
    }
    close(listener);
    if (!options.quiet) {
        std::fprintf(stderr, "qlok-daytimed: stopped after %lld connection(s)\n", served);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(ParseOptions(argc, argv));
    } catch (const UsageError& e) {
        std::fprintf(stderr, "qlok-daytimed: %s\nTry 'qlok-daytimed --help'.\n", e.what());
        return kUsageError;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qlok-daytimed: %s\n", e.what());
        return 1;
    }
}
