#pragma once

// A token bucket: `burst` lines at once, then one every `secondsPerLine`.
// Time comes in as monotonic seconds.

namespace wavecrest::irc {

class FloodBucket {
 public:
  explicit FloodBucket(int burst = 4, double secondsPerLine = 1.0);

  // Takes a token when one is there.
  bool TryTake(double now);
  // 0 when a token is there now.
  double SecondsUntilToken(double now) const;

 private:
  double TokensAt(double now) const;

  double burst_;
  double secondsPerLine_;
  double tokens_;
  double lastUpdate_ = 0.0;
  bool started_ = false;
};

}  // namespace wavecrest::irc
