#pragma once

// Delays between reconnection attempts: 10 s, doubling up to 300 s. Reset
// after a connection that stayed up (the session decides when).

namespace wavecrest::irc {

inline constexpr double kFirstBackoffSeconds = 10.0;
inline constexpr double kMaxBackoffSeconds = 300.0;

class Backoff {
 public:
  double NextDelay();
  void Reset();

 private:
  double next_ = kFirstBackoffSeconds;
};

}  // namespace wavecrest::irc
