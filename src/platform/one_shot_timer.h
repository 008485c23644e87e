// A single delayed call from the front end's event loop.
#pragma once

#include <functional>

namespace qlok {

class OneShotTimer {
  public:
    virtual ~OneShotTimer() = default;
    // Calls callback once from the event loop after milliseconds (0: as soon as the loop is
    // free, never inside this call); replaces a call still pending.
    virtual void Start(int milliseconds, std::function<void()> callback) = 0;
    // Cancels a pending call.
    virtual void Stop() = 0;
};

}  // namespace qlok
