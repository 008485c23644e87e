// The one-shot timer on Qt's event loop.
#pragma once

#include <QTimer>
#include <functional>

#include "platform/one_shot_timer.h"

namespace qlok::qt {

// A single-shot QTimer.
class QtOneShotTimer final : public OneShotTimer {
  public:
    QtOneShotTimer();
    void Start(int milliseconds, std::function<void()> callback) override;
    void Stop() override;

  private:
    QTimer timer_;
    std::function<void()> callback_;
};

}  // namespace qlok::qt
