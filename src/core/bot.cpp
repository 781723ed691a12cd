#include "core/bot.h"

namespace wavecrest {
namespace {

std::unique_ptr<Timer> MakeTimer(EventLoop& loop, int milliseconds, const std::function<void()>& handler,
                                 int& busyDepth) {
  // The handler is looked up when the timer fires, so wiring may set it later.
  return loop.CreateTimer(std::chrono::milliseconds(milliseconds), [&handler, &busyDepth] {
    const BusyScope busy(busyDepth);
    if (handler) handler();
  });
}

}  // namespace

Bot::Bot(const Ports& ports) : Ports(ports) {
  Timer1 = MakeTimer(loop, 500, Timer1_Timer, busyDepth);
  tmrIdle = MakeTimer(loop, 60000, tmrIdle_Timer, busyDepth);
  tmrCon = MakeTimer(loop, 1000, tmrCon_Timer, busyDepth);
  tmrOrder = MakeTimer(loop, 1000, tmrOrder_Timer, busyDepth);
  tmrRep = MakeTimer(loop, 1000, tmrRep_Timer, busyDepth);
}

void Bot::SetText1(std::string text) {
  if (text == form1.Text1) return;  // a text box raises no change when nothing changed
  form1.Text1 = std::move(text);
  WriteSetting("screen name", form1.Text1);
}

void Bot::End() {
  if (ended_) return;
  ended_ = true;
  Timer1->SetEnabled(false);
  tmrIdle->SetEnabled(false);
  tmrCon->SetEnabled(false);
  tmrOrder->SetEnabled(false);
  tmrRep->SetEnabled(false);
  if (onEnd) onEnd();
}

}  // namespace wavecrest
