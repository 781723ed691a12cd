#pragma once

#include "core/event_loop.h"

namespace wavecrest {

// now − start, both read on the loop's clock that restarts at midnight: a
// difference of more than half a day backwards can only mean the clock
// wrapped, so waits and bounds that cross midnight still end.
double ElapsedSeconds(double start, double now);

// The pause between chat lines: starts from the clock rounded to the nearest
// whole second (half to even), lets events run, and returns as soon as at
// least `seconds` have passed since that start, or the program is ending. A
// pause across midnight ends.
void WaitSeconds(EventLoop& loop, int seconds);

}  // namespace wavecrest
