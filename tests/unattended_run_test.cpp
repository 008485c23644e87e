#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fake/fake_platform.h"
#include "sync/unattended_run.h"

namespace qlok {
namespace {

using fake::NistReply;
using Lines = std::vector<std::string>;

// The fake clock reads 21:54:19 UTC; these replies find it in step, 5 s and 2 days slow.
const std::string kInStep = NistReply(26, 12, 5, 21, 54, 19);
const std::string kSlow = NistReply(26, 12, 5, 21, 54, 24);
const std::string kTwoDays = NistReply(26, 12, 7, 21, 54, 19);

// A run over the servers a, b and c (or those given), not started yet.
struct Runner {
    explicit Runner(const std::string& servers = "a\r\nb\r\nc\r\n") {
        app.files.files["QLOK servers.ini"] = servers;
        app.Load();
    }
    // The server answers the attempt under way with reply, and the run takes its next step.
    void Answer(const std::string& reply) {
        app.Connected(), app.Receive(reply), app.ServerCloses(), next.Fire();
    }
    void Refuse() {
        app.winsock1.attempt.Failed(10061, "Connection refused");
        app.winsock1.Deliver(), next.Fire();
    }
    Lines Tried() const {
        Lines tried;
        std::copy_if(app.log.lines.begin(), app.log.lines.end(), std::back_inserter(tried),
                     [](const std::string& line) { return line.starts_with("trying "); });
        return tried;
    }
    fake::FakeApp app;
    fake::FakeOneShotTimer next, limit;
    UnattendedRun run{app.form, next, limit};
};

TEST(UnattendedRun, TriesServerNFirstThenTheOthersInListOrder) {
    const auto t = [](const char* n, const char* host) {
        return std::string("trying server ") + n + " of 3: " + host;
    };
    for (const auto& [argument, order] :
         {std::pair<std::string, Lines>{"", {t("1", "a"), t("2", "b"), t("3", "c")}},
          {"2", {t("2", "b"), t("1", "a"), t("3", "c")}},
          {"3", {t("3", "c"), t("1", "a"), t("2", "b")}},
          {"7", {t("1", "a"), t("2", "b"), t("3", "c")}}}) {
        SCOPED_TRACE("argument " + argument);
        Runner r;
        r.run.Start(argument);
        for (int i = 0; i < 3; ++i) {
            r.Refuse();
        }
        EXPECT_EQ(r.Tried(), order);
        EXPECT_TRUE(r.run.Finished());
        EXPECT_EQ(r.run.ExitStatus(), 1);
        EXPECT_EQ(r.app.log.lines.back(), "sockets closed");  // the last failure's lines last
    }
}

// Whatever ends an attempt without a reading, the next server is asked and can set the clock.
TEST(UnattendedRun, EachFailedAttemptMovesOnToTheNextServer) {
    std::string unhealthy = kSlow;
    unhealthy[30] = '2';
    const std::pair<const char*, std::function<void(Runner&)>> failures[] = {
        {"socket error", [](Runner& r) { r.Refuse(); }},
        {"time-out",
         [](Runner& r) { r.app.winsock1.deadline.Fire(), r.app.winsock1.Deliver(), r.next.Fire(); }},
        {"short reply", [](Runner& r) { r.Answer(kSlow.substr(0, 50)); }},
        {"no date", [](Runner& r) { r.Answer("\n61014 2x-12-05 21:54:24" + kSlow.substr(24)); }},
        {"unhealthy", [&unhealthy](Runner& r) { r.Answer(unhealthy); }},
    };
    for (const auto& [kind, fail] : failures) {
        SCOPED_TRACE(kind);
        Runner r;
        r.run.Start("");
        fail(r);
        ASSERT_FALSE(r.run.Finished());
        r.Answer(kSlow);
        EXPECT_EQ(r.Tried().size(), 2u);
        EXPECT_EQ(r.app.clock.setCalls.size(), 1u);
        EXPECT_EQ(r.run.ExitStatus(), 0);
    }
}

TEST(UnattendedRun, ARefusedClockEndsTheRun) {
    Runner r;
    r.app.clock.refuse = true;
    r.run.Start("");
    r.Answer(kSlow);
    EXPECT_TRUE(r.run.Finished());
    EXPECT_EQ(r.run.ExitStatus(), 1);
    EXPECT_EQ(r.Tried().size(), 1u);
}

// At the limit the attempt under way is dropped and no other starts.
TEST(UnattendedRun, EndsTwoMinutesAfterItsStart) {
    Runner r;
    r.run.Start("");
    EXPECT_EQ(r.limit.milliseconds, 120'000);
    r.Refuse();
    r.limit.Fire();
    EXPECT_TRUE(r.run.Finished());
    EXPECT_EQ(r.run.ExitStatus(), 1);
    EXPECT_EQ(r.app.winsock1.State(), win::kSckClosed);
    EXPECT_EQ(r.Tried().size(), 2u);
    EXPECT_EQ(r.app.log.lines.back(), "no time left: a run ends 2 minutes after its start");
}

// A step of more than a day waits for the next server: made when that one agrees within 2 s
// (counting the time between the readings), else nothing is set and both readings are listed.
// With one server listed the step is made unconfirmed.
TEST(UnattendedRun, AStepOfMoreThanADayNeedsASecondServerToAgree) {
    struct Case {
        const char* name;
        std::string servers;
        std::string second;  // the next server's reply, 3 s after the first
        int status;
        std::string last;  // the run's last line
    };
    const Case cases[] = {
        {"agree", "a\r\nb\r\n", NistReply(26, 12, 7, 21, 54, 23), 0,
         "clock synchronised succesfully"},
        {"disagree", "a\r\nb\r\n", NistReply(26, 12, 7, 21, 54, 16), 1,
         "      b: 2026-12-07 21:54:16 UTC"},
        {"in step", "a\r\nb\r\n", kInStep, 1, "      b: 2026-12-05 21:54:19 UTC"},
        {"one server", "a\r\n", "", 0, "clock synchronised succesfully"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Runner r(c.servers);
        r.run.Start("");
        r.Answer(kTwoDays);
        if (!c.second.empty()) {
            EXPECT_TRUE(r.app.clock.setCalls.empty());
            r.app.clock.monotonic += 3'000'000;
            r.Answer(c.second);
        }
        EXPECT_EQ(r.run.ExitStatus(), c.status);
        EXPECT_EQ(r.app.clock.setCalls.size(), c.status == 0 ? 1u : 0u);
        EXPECT_EQ(r.app.log.lines.back(), c.last);
        const bool listsBoth = c.status == 1 && *(r.app.log.lines.end() - 2) ==
                                                    "      a: 2026-12-07 21:54:19 UTC";
        EXPECT_EQ(listsBoth, c.status == 1);
        const bool unconfirmed =
            std::count(r.app.log.lines.begin(), r.app.log.lines.end(),
                       "      a step of more than a day, not confirmed: no other server is "
                       "listed") == 1;
        EXPECT_EQ(unconfirmed, c.second.empty());
    }
}

}  // namespace
}  // namespace qlok
