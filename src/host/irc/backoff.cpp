#include "host/irc/backoff.h"

#include <algorithm>

namespace wavecrest::irc {

double Backoff::NextDelay() {
  const double delay = next_;
  next_ = std::min(next_ * 2.0, kMaxBackoffSeconds);
  return delay;
}

void Backoff::Reset() { next_ = kFirstBackoffSeconds; }

}  // namespace wavecrest::irc
