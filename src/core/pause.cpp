#include "core/pause.h"

#include <algorithm>
#include <cmath>

namespace wavecrest {
namespace {

constexpr double kSecondsPerDay = 86400.0;

}  // namespace

double ElapsedSeconds(double start, double now) {
  double elapsed = now - start;
  if (elapsed < -kSecondsPerDay / 2) elapsed += kSecondsPerDay;
  return elapsed;
}

void WaitSeconds(EventLoop& loop, int seconds) {
  const double start = std::nearbyint(loop.SecondsSinceMidnight());  // default rounding: half to even
  for (;;) {
    if (loop.WaitsEnded()) return;
    const double remaining = seconds - ElapsedSeconds(start, loop.SecondsSinceMidnight());
    if (remaining <= 0) return;
    // Sleep until the deadline or the next event; round up so a wake-up just
    // short of the deadline does not cost an extra pass.
    const auto wait = std::chrono::milliseconds(std::max(1LL, std::llround(std::ceil(remaining * 1000 - 1e-6))));
    loop.PumpOnce(wait);
  }
}

}  // namespace wavecrest
