#pragma once

// Regions as window systems take them: a union of pixel rectangles in the
// canonical banded form. Building one from many small rectangles (a skinned
// window's outline is thousands of one-pixel-wide runs) must not cost the
// square of their number.
//
// Pure functions and a plain builder: no platform, no display. Threading: any.

#include <span>
#include <vector>

namespace wavecrest {

// A rectangle of pixels; right and bottom edges excluded.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

// The union of rectangles, clipped to [0, width) × [0, height), as
// rectangles in the canonical banded form window systems take directly:
// sorted by top then left; all rectangles of a band share top and bottom;
// none overlap or touch side by side; two neighbouring bands never have the
// same columns. Every rectangle added is painted into a coverage map that is
// read back row by row once, so the cost does not grow with the number of
// rectangles squared however noisy the picture.
class BandedRegionBuilder {
 public:
  BandedRegionBuilder(int width, int height);
  void Add(const PixelRect& rect);
  std::vector<PixelRect> Bands() const;

 private:
  int width_;
  int height_;
  std::vector<unsigned char> covered_;
};

std::vector<PixelRect> BandedRegion(std::span<const PixelRect> runs, int width, int height);

// Whether pixel (x, y) lies in one of `rects`.
bool RegionContains(std::span<const PixelRect> rects, int x, int y);

}  // namespace wavecrest
