#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fake/fake_platform.h"

namespace qlok {
namespace {

// The rules no transport can show at will (the socket cases show the rest). Drives an attempt
// as a transport would and returns the events the window got. Steps:
// c connected, d 5 bytes read, x the server closed, t 30 s pass and the deadline
// timer fires, e it fires early, at 29.999 s, E 1 ms later, C our Close; events are raised
// only at '.', when the event loop runs.
std::string Play(const std::string& steps) {
    std::string events;
    fake::FakeClock clock;
    fake::FakeSocket socket(SocketEvents{[&] { events += "connect "; },
                                         [&](std::int32_t n) {
                                             events += "data" + std::to_string(n) + " ";
                                             socket.GetData();  // as the window does
                                         },
                                         [&] { events += "close "; },
                                         [&](std::int16_t n, const std::string& text) {
                                             events += text + std::to_string(n) + " ";
                                         }},
                            clock);
    const std::map<char, std::function<void()>> act{
        {'c', [&] { socket.attempt.Connected(); }},
        {'d', [&] { socket.attempt.Received("12345"); }},
        {'x', [&] { socket.attempt.PeerClosed(); }},
        {'t', [&] { clock.monotonic += kAttemptTimeoutMs * 1000LL, socket.deadline.Fire(); }},
        {'e', [&] { clock.monotonic += 29'999'000, socket.deadline.Fire(); }},
        {'E', [&] { clock.monotonic += 1000, socket.deadline.Fire(); }},
        {'C', [&] { socket.Close(); }},
        {'.', [&] { socket.Deliver(); }},
    };
    socket.SetRemoteHost(" time.example ");
    socket.SetRemotePort(13);
    EXPECT_FALSE(socket.Connect());
    for (const char step : steps) {
        act.at(step)();
    }
    // Started by Connect, and for the rest of the time after an early timer.
    const bool early = steps.find('e') != std::string::npos;
    EXPECT_EQ(socket.deadline.starts, early ? 2 : 1) << steps;
    EXPECT_EQ(socket.deadline.milliseconds, early ? 1 : 30'000) << steps;
    return events;
}

TEST(SocketAttempt, OneCloseOrErrorPerAttemptAndNothingFromAnAbandonedOne) {
    const std::pair<const char*, const char*> cases[] = {
        {"cdd.", "connect data10 "},  // the first event's GetData took both reads
        {"cx.t.x.", "connect close "},
        {"cdxC.", ""},                         // our Close raises nothing and drops what was queued
        {"t.", "Connection timed out10060 "},  // a hanging lookup or connect
        {"ce.d.E.", "connect data5 Connection timed out10060 "},  // never before 30 s
    };
    for (const auto& [steps, events] : cases) {
        EXPECT_EQ(Play(steps), events) << steps;
    }
}

}  // namespace
}  // namespace qlok
