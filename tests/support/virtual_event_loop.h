#pragma once

// An EventLoop on virtual time, for tests and benchmarks: the clock moves only
// when nothing is pending, straight to the next due timer or to the end of the
// requested wait. A test of "65 idle minutes" runs in microseconds and always
// the same way.

#include "core/event_loop.h"

#include <deque>
#include <map>
#include <memory>
#include <mutex>

namespace wavecrest::testing {

class VirtualEventLoop final : public EventLoop {
 public:
  // `startSeconds`: seconds since midnight at which the clock starts.
  explicit VirtualEventLoop(double startSeconds = 12 * 3600.0);
  ~VirtualEventLoop() override;

  void PumpOnce(std::chrono::milliseconds maxWait) override;
  double SecondsSinceMidnight() const override;
  // The calendar starts on Sunday, 6 December 2026 and moves on at midnight.
  LocalDateTime LocalNow() const override;
  // Any thread may post, as on the real loop; everything else is the loop's
  // own thread's.
  void Post(std::function<void()> task) override;
  std::unique_ptr<Timer> CreateTimer(std::chrono::milliseconds interval, std::function<void()> onTick) override;
  void EndWaits() override { waitsEnded_ = true; }
  bool WaitsEnded() const override { return waitsEnded_; }

  // Pumps until the virtual clock has moved `seconds` on.
  void RunFor(double seconds);
  // Runs posted tasks and due timers until none is left, without moving the
  // clock. Returns false if work was still pending after `maxPasses` passes.
  bool RunUntilIdle(int maxPasses = 10000);

  // Virtual seconds since the midnight before the start (does not wrap).
  double Now() const { return static_cast<double>(nowUs_) / 1e6; }
  int PassCount() const { return passes_; }

 private:
  struct TimerState;
  class VirtualTimer;

  bool RunPending();
  bool FireDueTimers();

  // Whole microseconds, so that waits add up exactly.
  long long nowUs_;
  int passes_ = 0;
  mutable std::mutex postedMutex_;  // guards posted_ alone
  std::deque<std::function<void()>> posted_;
  std::map<int, TimerState*> timers_;
  int nextTimerId_ = 1;
  bool waitsEnded_ = false;
};

}  // namespace wavecrest::testing
