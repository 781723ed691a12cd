#pragma once

// The EventLoop on Qt: the application's own event queue, real timers and the
// local clock. Construct it after the QCoreApplication, and use it and its
// timers on the thread that runs that application only, except Post, which
// any thread may call (a queued call to the application object); posted
// tasks and ticks run on the application's thread.

#include "core/event_loop.h"

namespace wavecrest {

class QtEventLoop final : public EventLoop {
 public:
  void PumpOnce(std::chrono::milliseconds maxWait) override;
  double SecondsSinceMidnight() const override;
  LocalDateTime LocalNow() const override;
  void Post(std::function<void()> task) override;
  std::unique_ptr<Timer> CreateTimer(std::chrono::milliseconds interval, std::function<void()> onTick) override;
  void EndWaits() override { waitsEnded_ = true; }
  bool WaitsEnded() const override { return waitsEnded_; }

 private:
  bool waitsEnded_ = false;
};

}  // namespace wavecrest
