#pragma once

// The now-playing display, refreshed twice a second by Timer1: the progress
// bar with the percent played, and the now-playing text lblSong2, which
// scrolls one character to the left on every tick (a marquee).
//
// The bar is drawn from the main window's model: each tick stores the whole
// second and the length it is for (Picture1Position, Picture1Duration) and
// the percent shown (progressPercent) in Form1, and the window repaints its
// picture box with DrawProgress from those fields.

#include <cstdint>
#include <optional>
#include <string>

namespace wavecrest {

class Bot;
class DrawingSurface;

// One tick of Timer1. A player that cannot be read leaves the bar as the
// last tick drew it; the text rotates all the same.
void Timer1_Timer(Bot& bot);

// The whole part (rounded down) of scale × position ÷ duration; 0 when the
// division cannot be made (a length of 0) or the result does not fit.
std::int16_t PercentOf(std::int16_t position, double duration, double scale);

// Draws the bar: the whole surface red, the part played black (10 units
// short of the exact proportion), and the percent in white near the middle.
void DrawProgress(DrawingSurface& surface, std::int16_t position, double duration);

// A position in seconds rounded to a whole second (half to even), or
// nothing when it does not fit 16 bits.
std::optional<std::int16_t> WholeSecond(double position);

// The text moved one character to the left: its first character (a whole
// UTF-8 code point) goes to the end.
std::string RotateMarquee(const std::string& text);

}  // namespace wavecrest
