#include "core/bot.h"

namespace wavecrest {
namespace {

// Counts a running handler for as long as it lives, thrown out of or not.
class BusyScope {
 public:
  explicit BusyScope(int& depth) : depth_(depth) { ++depth_; }
  ~BusyScope() { --depth_; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

Bot::Bot(const Ports& ports, const BotRoutines& routines, std::function<void()> onEnd)
    : Ports(ports), commandTable(routines.commandTable), onEnd_(std::move(onEnd)) {
  const auto make = [this](int milliseconds, BotRoutine routine) {
    void (*const handler)(Bot&) = &routine;
    return loop.CreateTimer(std::chrono::milliseconds(milliseconds),
                            [this, handler] { RunCounted([this, handler] { handler(*this); }); });
  };
  Timer1 = make(500, routines.Timer1_Timer);
  tmrIdle = make(60000, routines.tmrIdle_Timer);
  tmrCon = make(1000, routines.tmrCon_Timer);
  tmrOrder = make(1000, routines.tmrOrder_Timer);
  tmrRep = make(1000, routines.tmrRep_Timer);
}

void Bot::RunCounted(const std::function<void()>& handler) {
  {
    const BusyScope busy(busyDepth_);
    handler();
  }
  if (!waitingLines_.empty() && LinesMayStart()) PostLineDrain();
  if (busyDepth_ > 0) return;
  for (const auto& [watch, watcher] : watchers_) watcher();
  if (!idleWaiters_.empty()) PostIdleCheck();
}

void Bot::TakeLine(std::function<void()> handleLine) {
  if (ended_) return;
  if (LinesMayStart() && waitingLines_.empty()) return handleLine();
  waitingLines_.push_back(std::move(handleLine));
  if (LinesMayStart()) PostLineDrain();
}

Bot::LineHold::LineHold(Bot& bot) : bot_(bot) { ++bot_.lineHolds_; }

Bot::LineHold::~LineHold() {
  --bot_.lineHolds_;
  if (!bot_.waitingLines_.empty() && bot_.LinesMayStart()) bot_.PostLineDrain();
}

// The waiting lines run from the event loop, in order, each as deep as the
// loop was pumped from, while that is shallower than the bound; the next
// may start inside the pause of the one before, as lines always could.
void Bot::PostLineDrain() {
  if (drainPosted_) return;
  drainPosted_ = true;
  loop.Post([this] { DrainWaitingLines(); });
}

void Bot::DrainWaitingLines() {
  drainPosted_ = false;
  while (!ended_ && !waitingLines_.empty() && LinesMayStart()) {
    const std::function<void()> handleLine = std::move(waitingLines_.front());
    waitingLines_.pop_front();
    if (!waitingLines_.empty()) PostLineDrain();
    handleLine();
  }
  if (busyDepth_ == 0 && !idleWaiters_.empty()) PostIdleCheck();
}

int Bot::WatchHandlers(std::function<void()> watcher) {
  watchers_.emplace_back(++lastWatch_, std::move(watcher));
  return lastWatch_;
}

void Bot::StopWatching(int watch) {
  std::erase_if(watchers_, [watch](const auto& entry) { return entry.first == watch; });
}

void Bot::Perform(const std::function<void()>& action, std::function<void()> finished) {
  idleWaiters_.push_back(std::move(finished));
  RunCounted(action);
  // Called from inside another handler, the check comes when that one ends.
}

// The check runs after the events queued before it, so what the last handler
// posted (the lines it said, on their way back) has had its turn first. Only
// the check posted after the latest handler counts: an older one would run
// ahead of what that handler posted.
void Bot::PostIdleCheck() {
  const unsigned check = ++idleCheck_;
  loop.Post([this, check] {
    if (check == idleCheck_) CallIdleWaiters();
  });
}

void Bot::CallIdleWaiters() {
  // A later end, or the last waiting line, posts the check again.
  if (busyDepth_ > 0 || !waitingLines_.empty() || idleWaiters_.empty()) return;
  const std::vector<std::function<void()>> waiters = std::move(idleWaiters_);
  idleWaiters_.clear();
  for (const auto& waiter : waiters) waiter();
}

void Bot::SetText1(std::string text) {
  if (text == form1.Text1) return;  // a text box raises no change when nothing changed
  form1.Text1 = std::move(text);
  WriteSetting("screen name", form1.Text1);
}

void Bot::End() {
  if (ended_) return;
  ended_ = true;
  waitingLines_.clear();
  loop.EndWaits();
  Timer1->SetEnabled(false);
  tmrIdle->SetEnabled(false);
  tmrCon->SetEnabled(false);
  tmrOrder->SetEnabled(false);
  tmrRep->SetEnabled(false);
  onEnd_();
}

}  // namespace wavecrest
