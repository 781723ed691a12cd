#pragma once

// The source connection over the whole run: connects, notices a loss, tries
// again after 2 s, doubling to 60 s, and says each change of state on
// standard error with its reason, through the event loop: up, lost, and
// between no server answering and a server refusing the source; never one
// line per try. While it
// is up, the data waiting for the socket is kept under two seconds of sound.
//
// Worker thread only.

#include "app/stream/icecast/icecast_source.h"

#include <chrono>
#include <optional>
#include <cstdint>
#include <string>
#include <vector>

namespace wavecrest {

class EventLoop;

class SourceLink {
 public:
  using Clock = std::chrono::steady_clock;
  SourceLink(const StreamSettings& settings, EventLoop& loop) : settings_(settings), loop_(loop), source_(settings) {}

  enum class Event { None, CameUp };
  // Connects when it is time to; CameUp on the turn the connection is made.
  Event Drive(Clock::time_point now, const std::string& name);
  bool Up() const { return state_ == State::Up; }
  // Whether so much waits for the socket that new sound is dropped instead.
  bool Congested();
  // Sends the bytes (none: pushes what waits); a failure takes the link down.
  void Send(const std::vector<std::uint8_t>& bytes);
  // Takes the link down for the reason given.
  void Fail(const Failure& failure);
  // When the link next needs a turn.
  Clock::time_point NextAttempt() const;

 private:
  enum class State { Waiting, Connecting, Up };
  void Report(const std::string& line);
  void CameUp();

  const StreamSettings& settings_;
  EventLoop& loop_;
  IcecastSource source_;
  State state_ = State::Waiting;
  Clock::time_point retryAt_ = Clock::now();
  std::chrono::seconds backoff_{2};
  bool everUp_ = false;
  std::optional<Trouble> toldTrouble_;  // what standard error last said while down
};

}  // namespace wavecrest
