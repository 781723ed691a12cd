#pragma once

#include "core/event_loop.h"

namespace wavecrest {

// The pause between chat lines: starts from the clock rounded to the nearest
// whole second (half to even), lets events run, and returns as soon as at
// least `seconds` have passed since that start. A pause across midnight ends.
void WaitSeconds(EventLoop& loop, int seconds);

}  // namespace wavecrest
