#include "app/stream/icecast/source_link.h"

#include "app/stream/icecast/mp3_encoder.h"
#include "core/event_loop.h"

#include <algorithm>
#include <cstdio>

namespace wavecrest {
namespace {

constexpr std::chrono::seconds kFirstRetry{2};
constexpr std::chrono::seconds kLongestRetry{60};
constexpr auto kConnectingTurn = std::chrono::milliseconds(20);
constexpr int kMaxQueuedSeconds = 2;

}  // namespace

void SourceLink::Report(const std::string& line) {
  loop_.Post([line = "wavecrest: stream: " + line + "\n"] {
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
  });
}

void SourceLink::CameUp() {
  state_ = State::Up;
  backoff_ = kFirstRetry;
  Report("connected to " + StreamUrlText(settings_.url) + (everUp_ ? " again" : ""));
  everUp_ = true;
  toldTrouble_.reset();
}

void SourceLink::Fail(const Failure& failure) {
  const bool wasUp = state_ == State::Up;
  source_.Close();
  state_ = State::Waiting;
  retryAt_ = Clock::now() + backoff_;
  const std::string url = StreamUrlText(settings_.url);
  const std::string retry = " (trying again in " + std::to_string(backoff_.count()) + " s, then less often)";
  if (wasUp) {
    Report("lost " + url + ": " + failure.why + retry);
  } else if (!toldTrouble_) {
    Report("cannot connect to " + url + ": " + failure.why + retry);
  } else if (*toldTrouble_ != failure.trouble) {
    // Another state: a server now answers and refuses, or none answers any more.
    Report("still not connected to " + url + ": " + failure.why);
  }
  toldTrouble_ = failure.trouble;
  backoff_ = std::min(backoff_ * 2, kLongestRetry);
}

SourceLink::Event SourceLink::Drive(Clock::time_point now, const std::string& name) {
  Failure why;
  IcecastSource::Step step;
  if (state_ == State::Waiting) {
    if (now < retryAt_) return Event::None;
    step = source_.Begin(name, why);
  } else if (state_ == State::Connecting) {
    step = source_.Continue(why);
  } else {
    return Event::None;
  }
  switch (step) {
    case IcecastSource::Step::Waiting:
      state_ = State::Connecting;
      return Event::None;
    case IcecastSource::Step::Connected:
      CameUp();
      return Event::CameUp;
    case IcecastSource::Step::Failed:
      Fail(why);
      return Event::None;
  }
  return Event::None;
}

bool SourceLink::Congested() {
  const std::size_t limit = static_cast<std::size_t>(Mp3BitRate(settings_.kbps)) * 1000 / 8 * kMaxQueuedSeconds;
  return Up() && source_.Queued() > limit;
}

void SourceLink::Send(const std::vector<std::uint8_t>& bytes) {
  if (!Up()) return;
  Failure why;
  if (!source_.Send(bytes.data(), bytes.size(), why)) Fail(why);
}

SourceLink::Clock::time_point SourceLink::NextAttempt() const {
  if (state_ == State::Waiting) return retryAt_;
  if (state_ == State::Connecting) return Clock::now() + kConnectingTurn;
  return Clock::time_point::max();
}

}  // namespace wavecrest
