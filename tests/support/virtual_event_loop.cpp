#include "support/virtual_event_loop.h"

#include <cmath>
#include <limits>
#include <vector>

namespace wavecrest::testing {

struct VirtualEventLoop::TimerState {
  long long intervalUs;
  long long nextDueUs = 0;
  bool enabled = false;
  bool running = false;
  std::function<void()> onTick;
};

class VirtualEventLoop::VirtualTimer final : public Timer {
 public:
  VirtualTimer(VirtualEventLoop& loop, int id, std::unique_ptr<TimerState> state)
      : loop_(loop), id_(id), state_(std::move(state)) {
    loop_.timers_[id_] = state_.get();
  }
  ~VirtualTimer() override { loop_.timers_.erase(id_); }

  void SetEnabled(bool enabled) override {
    if (enabled && !state_->enabled) state_->nextDueUs = loop_.nowUs_ + state_->intervalUs;
    state_->enabled = enabled;
  }
  bool Enabled() const override { return state_->enabled; }

 private:
  VirtualEventLoop& loop_;
  int id_;
  std::unique_ptr<TimerState> state_;
};

VirtualEventLoop::VirtualEventLoop(double startSeconds) : nowUs_(std::llround(startSeconds * 1e6)) {}
VirtualEventLoop::~VirtualEventLoop() = default;

double VirtualEventLoop::SecondsSinceMidnight() const {
  return static_cast<double>(nowUs_ % 86'400'000'000LL) / 1e6;
}

LocalDateTime VirtualEventLoop::LocalNow() const {
  // Days since 1970-01-01 of the start date, then civil-from-days.
  constexpr long long kStartDay = 20793;  // 2026-12-06, a Sunday
  const long long day = kStartDay + static_cast<long long>(std::floor(Now() / 86400.0));
  const long long z = day + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  LocalDateTime t;
  t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  t.year = static_cast<int>(yoe + era * 400 + (t.month <= 2 ? 1 : 0));
  t.weekday = static_cast<int>((day + 4) % 7);  // 1970-01-01 was a Thursday
  const double s = std::floor(SecondsSinceMidnight());
  t.hour = static_cast<int>(s / 3600);
  t.minute = static_cast<int>(std::fmod(s, 3600) / 60);
  t.second = static_cast<int>(std::fmod(s, 60));
  return t;
}

void VirtualEventLoop::Post(std::function<void()> task) {
  const std::lock_guard lock(postedMutex_);
  posted_.push_back(std::move(task));
}

std::unique_ptr<Timer> VirtualEventLoop::CreateTimer(std::chrono::milliseconds interval, std::function<void()> onTick) {
  auto state = std::make_unique<TimerState>();
  state->intervalUs = static_cast<long long>(interval.count()) * 1000;
  state->onTick = std::move(onTick);
  const int id = nextTimerId_++;
  return std::make_unique<VirtualTimer>(*this, id, std::move(state));
}

bool VirtualEventLoop::RunPending() {
  // One pass runs what was queued when the pass began; what those tasks post
  // waits for the next pass, as on a real queue.
  std::deque<std::function<void()>> batch;
  {
    const std::lock_guard lock(postedMutex_);
    batch.swap(posted_);
  }
  if (batch.empty()) return false;
  for (auto& task : batch) task();
  return true;
}

bool VirtualEventLoop::FireDueTimers() {
  std::vector<int> due;
  for (const auto& [id, state] : timers_) {
    if (state->enabled && !state->running && state->nextDueUs <= nowUs_) due.push_back(id);
  }
  for (const int id : due) {
    auto it = timers_.find(id);
    if (it == timers_.end() || !it->second->enabled) continue;  // gone or disabled by an earlier tick
    TimerState* state = it->second;
    state->nextDueUs = nowUs_ + state->intervalUs;
    state->running = true;
    auto tick = state->onTick;  // the timer may be destroyed by its own tick
    tick();
    it = timers_.find(id);
    if (it != timers_.end()) it->second->running = false;
  }
  return !due.empty();
}

void VirtualEventLoop::PumpOnce(std::chrono::milliseconds maxWait) {
  ++passes_;
  const bool ranTasks = RunPending();
  const bool firedTimers = FireDueTimers();
  if (ranTasks || firedTimers) return;

  // Idle: move the clock to the next due timer or to the end of the wait.
  const long long deadline = nowUs_ + static_cast<long long>(maxWait.count()) * 1000;
  long long next = std::numeric_limits<long long>::max();
  for (const auto& [id, state] : timers_) {
    if (state->enabled && !state->running) next = std::min(next, state->nextDueUs);
  }
  if (next <= deadline) {
    nowUs_ = std::max(nowUs_, next);
    FireDueTimers();
  } else {
    nowUs_ = deadline;
  }
}

void VirtualEventLoop::RunFor(double seconds) {
  const long long target = nowUs_ + std::llround(seconds * 1e6);
  while (nowUs_ < target) {
    PumpOnce(std::chrono::milliseconds(std::max(1LL, (target - nowUs_ + 999) / 1000)));
  }
  RunUntilIdle();
}

bool VirtualEventLoop::RunUntilIdle(int maxPasses) {
  for (int i = 0; i < maxPasses; ++i) {
    ++passes_;
    const bool ranTasks = RunPending();
    const bool firedTimers = FireDueTimers();
    if (!ranTasks && !firedTimers) return true;
  }
  return false;
}

}  // namespace wavecrest::testing
