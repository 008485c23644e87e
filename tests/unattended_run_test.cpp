#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "sync/unattended_run.h"

namespace qlok {
namespace {

using fake::NistReply;
using Lines = std::vector<std::string>;

// The fake clock reads 21:54:19 UTC; these replies find it 5 s and 2 days slow.
const std::string kSlow = NistReply(26, 12, 5, 21, 54, 24);
const std::string kTwoDays = NistReply(26, 12, 7, 21, 54, 19);

// A run over the servers a, b and c (or those given), started with argument.
struct Runner {
    explicit Runner(const std::string& argument = "", const std::string& servers = "a\r\nb\r\nc") {
        app.files.files["QLOK servers.ini"] = servers;
        app.Load();
        run.Start(argument);
    }
    // The server of the attempt under way answers (or refuses), and the run takes its next step.
    void Answer(const std::string& reply) {
        reply.empty() ? app.winsock1.attempt.Failed(10061, "refused")
                      : (app.Connected(), app.Receive(reply), app.winsock1.attempt.PeerClosed());
        app.winsock1.Deliver(), next.Fire();
    }
    // The hosts of the "trying" lines.
    std::string Tried() const {
        std::string hosts;
        for (const std::string& line : app.log.lines) {
            hosts += line.starts_with("trying server ") ? line.substr(line.size() - 1) : "";
        }
        return hosts;
    }
    fake::FakeApp app;
    fake::FakeOneShotTimer next, limit;
    UnattendedRun run{app.form, next, limit};
};

// After the last failure the run ends with exit status 1. (How an attempt is named, the order
// for two servers and the last failure's lines ending the output are checked end to end in
// qlok_sync_e2e.sh.)
TEST(UnattendedRun, TriesServerNFirstThenTheOthersInListOrder) {
    for (const auto& [argument, order] :
         {std::pair<std::string, std::string>{"", "abc"}, {"2", "bac"}, {"3", "cab"}}) {
        SCOPED_TRACE("argument " + argument);
        Runner r(argument);
        r.Answer(""), r.Answer(""), r.Answer("");
        EXPECT_EQ(r.Tried(), order);
        EXPECT_EQ(r.run.Finished() ? r.run.ExitStatus() : -1, 1);
    }
}

// Whatever ends an attempt without a reading (a refused connection, a short reply, no date, an
// unwell server), the next server is asked and can set the clock. (A time-out, and a refused
// setting, which asks no other server, are run end to end in qlok_sync_e2e.sh.)
TEST(UnattendedRun, EachFailedAttemptMovesOnToTheNextServer) {
    std::string unwell = kSlow;
    unwell[30] = '2';
    for (const std::string& failure :
         {std::string(), kSlow.substr(0, 50), kSlow.substr(0, 8) + "x" + kSlow.substr(9), unwell}) {
        SCOPED_TRACE(testing::PrintToString(failure));  // "": a refused connection
        Runner r;
        r.Answer(failure);
        r.Answer(kSlow);
        EXPECT_EQ(r.Tried(), "ab");
        EXPECT_EQ(r.app.clock.setCalls.size(), 1u);
        EXPECT_EQ(r.run.Finished() ? r.run.ExitStatus() : -1, 0);
    }
}

// At the limit the attempt under way is dropped and no other starts.
TEST(UnattendedRun, EndsTwoMinutesAfterItsStart) {
    Runner r;
    EXPECT_EQ(r.limit.milliseconds, 120'000);
    r.Answer("");
    r.limit.Fire();
    EXPECT_EQ(r.run.Finished() ? r.run.ExitStatus() : -1, 1);
    EXPECT_EQ(r.app.winsock1.State(), win::kSckClosed);
    EXPECT_EQ(r.Tried(), "ab");
    EXPECT_EQ(r.app.log.lines.back(), "no time left: a run ends 2 minutes after its start");
}

// A step of more than a day waits for the next server: made when that one agrees within 2 s
// (counting the time between the readings), else nothing is set and both readings are listed.
// With one server listed the step is made unconfirmed.
TEST(UnattendedRun, AStepOfMoreThanADayNeedsASecondServerToAgree) {
    const std::string ok = "clock synchronised succesfully";
    const std::string first = "      a: 2026-12-07 21:54:19 UTC";
    // The next server's reply, 3 s after the first (none: a single server), the run's last lines.
    const std::pair<std::string, Lines> cases[] = {
        {NistReply(26, 12, 7, 21, 54, 23), {"      confirmed by a", ok}},
        {NistReply(26, 12, 7, 21, 54, 16),
         {"the servers disagree - clock not set", first, "      b: 2026-12-07 21:54:16 UTC"}},
        {"", {"      a step of more than a day, not confirmed: no other server is listed", ok}},
    };
    for (const auto& [second, last] : cases) {
        SCOPED_TRACE(last.front());
        Runner r("", second.empty() ? "a" : "a\r\nb");
        r.Answer(kTwoDays);
        if (!second.empty()) {
            r.app.clock.monotonic += 3'000'000;
            r.Answer(second);
        }
        const bool set = last.back() == ok;
        EXPECT_EQ(r.run.Finished() ? r.run.ExitStatus() : -1, set ? 0 : 1);
        EXPECT_EQ(r.app.clock.setCalls.size(), set ? 1u : 0u);
        EXPECT_EQ(Lines(r.app.log.lines.end() - std::ssize(last), r.app.log.lines.end()), last);
    }
}

}  // namespace
}  // namespace qlok
