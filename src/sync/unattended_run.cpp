#include "sync/unattended_run.h"

#include <cstdlib>

#include "app/startup.h"
#include "runtime/text_lines.h"

namespace qlok {

std::vector<int> ServerOrder(int count, std::optional<int> first) {
    std::vector<int> order;
    if (first && *first >= 0 && *first < count) {
        order.push_back(*first);
    }
    for (int i = 0; i < count; ++i) {
        if (!first || i != *first) {
            order.push_back(i);
        }
    }
    return order;
}

UnattendedRun::UnattendedRun(QLOKfrm& form, OneShotTimer& next, OneShotTimer& limit)
    : form_(form), next_(next), limit_(limit) {}

UnattendedRun::~UnattendedRun() {
    form_.SyncEnded = nullptr;
    form_.HoldCorrection = nullptr;
    next_.Stop();
    limit_.Stop();
}

void UnattendedRun::Start(const std::string& serverArgument) {
    const int count = form_.Combo1.ListCount();
    std::optional<int> first;
    if (!serverArgument.empty()) {
        first = ServerIndexFromCommandLine(serverArgument, count, form_.Formats().decimalSeparator);
    }
    order_ = ServerOrder(count, first);
    // Each next step runs from the event loop, after the handler that ended the attempt.
    form_.SyncEnded = [this] { next_.Start(0, [this] { AttemptEnded(); }); };
    form_.HoldCorrection = [this](const ServerReading& reading) { return Hold(reading); };
    limit_.Start(kUnattendedRunLimitMs, [this] { Expire(); });
    if (order_.empty()) {
        Line("no server to try");
        Finish(1);
        return;
    }
    Attempt();
}

void UnattendedRun::Attempt() {
    const int index = order_[attempt_];
    form_.Combo1.SetListIndex(index);
    Line("trying server " + std::to_string(index + 1) + " of " + std::to_string(order_.size()) +
         ": " + form_.Combo1.Text());
    form_.Command1_Click();
}

void UnattendedRun::AttemptEnded() {
    if (finished_) {
        return;
    }
    const SyncOutcome outcome = form_.Outcome();
    if (outcome == SyncOutcome::InStep || outcome == SyncOutcome::Set) {
        Finish(0);
    } else if (outcome == SyncOutcome::Refused) {
        Finish(1);  // another server's time would be refused as well
    } else if (disagree_) {
        Line("the servers disagree - clock not set");
        Line("      " + held_->host + ": " + held_->utcText + " UTC");
        Line("      " + second_->host + ": " + second_->utcText + " UTC");
        Finish(1);
    } else if (expired_) {
        Line("no time left: a run ends " + std::to_string(kUnattendedRunLimitMs / 60'000) +
             " minutes after its start");
        Finish(1);
    } else if (++attempt_ < order_.size()) {
        Attempt();
    } else {
        if (held_) {
            Line("no other server confirmed the step - clock not set");
        }
        Finish(1);
    }
}

bool UnattendedRun::Hold(const ServerReading& reading) {
    constexpr std::int64_t kMicroseconds = 1'000'000;
    if (held_) {
        // The second reading should be the first carried forward by the time between them.
        const std::int64_t between =
            reading.arrival.monotonicMicroseconds - held_->arrival.monotonicMicroseconds;
        const std::int64_t apart = (reading.utcSeconds - held_->utcSeconds) * kMicroseconds;
        if (std::llabs(apart - between) <= kReadingsAgreeSeconds * kMicroseconds) {
            Line("      confirmed by " + held_->host);
            return false;
        }
        second_ = reading;
        disagree_ = true;
        return true;
    }
    const std::int64_t step = reading.utcSeconds * kMicroseconds - reading.arrival.utcMicroseconds;
    if (std::llabs(step) <= kConfirmStepAboveSeconds * kMicroseconds) {
        return false;
    }
    if (order_.size() < 2) {
        Line("      a step of more than a day, not confirmed: no other server is listed");
        return false;
    }
    held_ = reading;
    Line("      a step of more than a day: another server must agree first");
    return true;
}

void UnattendedRun::Expire() {
    expired_ = true;
    // While the clock is being set, the attempt ends on its own.
    if (form_.Abandon() || form_.Outcome() != SyncOutcome::Running) {
        AttemptEnded();
    }
}

void UnattendedRun::Finish(int status) {
    finished_ = true;
    status_ = status;
    next_.Stop();
    limit_.Stop();
    if (onFinished) {
        onFinished();
    }
}

void UnattendedRun::Line(const std::string& line) {
    form_.Services().log.Line(EscapeControls(line));
}

}  // namespace qlok
