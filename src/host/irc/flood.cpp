#include "host/irc/flood.h"

#include <algorithm>

namespace wavecrest::irc {

namespace {
// Refills are computed from floating-point time; a token that is due "now"
// must not be missed by a rounding error.
constexpr double kEpsilon = 1e-9;
}  // namespace

FloodBucket::FloodBucket(int burst, double secondsPerLine)
    : burst_(std::max(1, burst)), secondsPerLine_(std::max(secondsPerLine, 0.0)), tokens_(burst_) {}

double FloodBucket::TokensAt(double now) const {
  if (!started_ || now <= lastUpdate_) return tokens_;
  if (secondsPerLine_ <= 0.0) return burst_;
  return std::min(burst_, tokens_ + (now - lastUpdate_) / secondsPerLine_);
}

bool FloodBucket::TryTake(double now) {
  const double tokens = TokensAt(now);
  if (!started_ || now > lastUpdate_) lastUpdate_ = now;
  started_ = true;
  tokens_ = tokens;
  if (tokens_ + kEpsilon < 1.0) return false;
  tokens_ = std::max(0.0, tokens_ - 1.0);
  return true;
}

double FloodBucket::SecondsUntilToken(double now) const {
  const double tokens = TokensAt(now);
  if (tokens + kEpsilon >= 1.0) return 0.0;
  return (1.0 - tokens) * secondsPerLine_;
}

}  // namespace wavecrest::irc
