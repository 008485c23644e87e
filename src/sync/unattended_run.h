// A run without anyone watching: the listed servers one after another until one of them finds
// the clock in step or sets it, a big step only when a second server agrees, all in bounded time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/qlokfrm.h"
#include "platform/one_shot_timer.h"

namespace qlok {

// The whole run ends this long after its start, whatever is under way.
inline constexpr int kUnattendedRunLimitMs = 120'000;
// A step larger than this waits for a second server to agree.
inline constexpr std::int64_t kConfirmStepAboveSeconds = 86'400;
// Two readings agree when they are at most this far apart.
inline constexpr std::int64_t kReadingsAgreeSeconds = 2;

// The 0-based indexes of count servers in the order they are tried: first (when given and in
// range) first, then the others in list order.
std::vector<int> ServerOrder(int count, std::optional<int> first);

class UnattendedRun {
  public:
    // Drives form, which has loaded without a command line; next runs each step from the event
    // loop, limit ends the run.
    UnattendedRun(QLOKfrm& form, OneShotTimer& next, OneShotTimer& limit);
    ~UnattendedRun();
    UnattendedRun(const UnattendedRun&) = delete;
    UnattendedRun& operator=(const UnattendedRun&) = delete;

    // Starts with the server that serverArgument names as the window's command line would, then
    // the others; with an empty argument, the list in order.
    void Start(const std::string& serverArgument);
    bool Finished() const { return finished_; }
    // 0 when an attempt found the clock in step or set it, 1 when none did.
    int ExitStatus() const { return status_; }

    // Told once, when the run has finished.
    std::function<void()> onFinished;

  private:
    // Lists the attempt and resyncs with order_[attempt_].
    void Attempt();
    // The form's synchronisation has its outcome: finish, or try the next server.
    void AttemptEnded();
    bool Hold(const ServerReading& reading);
    void Expire();
    void Finish(int status);
    void Line(const std::string& line);

    QLOKfrm& form_;
    OneShotTimer& next_;
    OneShotTimer& limit_;
    std::vector<int> order_;
    std::size_t attempt_ = 0;
    std::optional<ServerReading> held_;    // the big step that waits for a second opinion
    std::optional<ServerReading> second_;  // a second opinion that differed
    bool disagree_ = false;
    bool expired_ = false;
    bool finished_ = false;
    int status_ = 1;
};

}  // namespace qlok
