#pragma once

// The one UI thread's event queue, its timers and its clock.
//
// Lifecycle: one EventLoop lives for the whole run and outlives every Timer it
// created. Threading: every call is made on the UI thread, except Post, which
// any thread may call. No call is reentrant except PumpOnce, which may be
// called from inside an event that PumpOnce itself is running (nested pumping
// is how the system waits).
//
// The rule for workers: an adapter may run a thread of its own (the stream's
// encoder), and that thread reaches the system only by posting a task here.
// It never calls into the Bot, the models, diagnostics or another port
// itself; what it has to say (a problem, a count) travels in the task.
//
// Failures: none of these calls fails.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace wavecrest {

// A local calendar date and wall-clock time.
struct LocalDateTime {
  int year = 0;
  int month = 0;    // 1–12
  int day = 0;      // 1–31
  int weekday = 0;  // 0 = Sunday … 6 = Saturday
  int hour = 0;     // 0–23
  int minute = 0;
  int second = 0;
  // The language dates are told in: the environment's locale name for times
  // ("de_DE.UTF-8"); empty, C or POSIX for English.
  std::string timeLocale;
};

// A repeating timer. Disabled when created; while enabled it fires its tick
// every interval, counted from the moment it was enabled. A tick that is due
// while the previous tick of the same timer is still running is skipped, as
// a UI timer's would be.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

class EventLoop {
 public:
  virtual ~EventLoop() = default;

  // One pass of the event queue: runs the events pending now (posted tasks,
  // due timers, input). When nothing is pending it blocks until the next
  // event arrives or `maxWait` has passed, whichever comes first, and then
  // runs what arrived. It never spins the processor.
  virtual void PumpOnce(std::chrono::milliseconds maxWait) = 0;

  // Seconds since local midnight, with fraction; starts again at 0 at midnight.
  virtual double SecondsSinceMidnight() const = 0;

  // The local date and time now.
  virtual LocalDateTime LocalNow() const = 0;

  // Queues `task` to run on a later pass of the loop; never runs it now. Safe
  // from any thread; tasks posted by one thread run in the order it posted them.
  virtual void Post(std::function<void()> task) = 0;

  // A new disabled timer that calls `onTick` on this loop.
  virtual std::unique_ptr<Timer> CreateTimer(std::chrono::milliseconds interval, std::function<void()> onTick) = 0;

  // The program is ending: from now on the system's waits (a pause, a line's
  // turn to leave) return at once, so that handlers nested in one another
  // unwind without waiting. Events still run when pumped.
  virtual void EndWaits() = 0;
  virtual bool WaitsEnded() const = 0;
};

}  // namespace wavecrest
