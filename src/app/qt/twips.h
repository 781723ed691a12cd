#pragma once

// The windows were designed in twips, and the models keep their places in
// twips; the screen counts 15 of them to a pixel.

#include <cmath>

namespace wavecrest {

inline constexpr double kTwipsPerPixel = 15.0;

// Rounded to the nearest whole pixel.
inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

}  // namespace wavecrest
