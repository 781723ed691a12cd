#pragma once

// Window shaping: a skinned window shows only the pixels of its picture that
// are not the transparent colour (pure black). The picture is walked column
// by column; every vertical run of non-transparent pixels becomes a
// one-pixel-wide rectangle, and the window's region (ui/region.h) is the
// union of them.
//
// The walk reproduces the way the outline has always been computed, quirks
// included: columns x0 … x1 − x0 and rows y0 … y1 − y0 are examined, both ends
// included, so one column and one row past the picture are read; a pixel that
// cannot be read (outside the picture) never equals the transparent colour,
// so runs reaching the bottom or right edge overhang the picture. The
// window's own bounds clip that overhang away.
//
// Pure functions: no platform, no display. Threading: any.

#include "ui/region.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace wavecrest {

// A colour as 0xRRGGBB.
using Colour = std::uint32_t;
// What reading a pixel outside the surface gives; equals no real colour.
inline constexpr Colour kInvalidColour = 0xFFFFFFFFu;
inline constexpr Colour kTransparentBlack = 0x000000u;

// Reads pixel (x, y) of the surface; kInvalidColour outside it.
using PixelReader = std::function<Colour(int x, int y)>;

// Walks the picture and calls onRun(PixelRect) for each vertical run,
// column by column, top to bottom within a column; afterColumn() runs after
// each column (the caller lets pending events run there). `pixel(x, y)`
// answers a Colour. A template, so that the 77,000 reads of a window's
// picture cost a few nanoseconds each.
template <typename Reader, typename OnRun, typename AfterColumn>
void ForEachRun(int x0, int y0, int x1, int y1, Colour transparent, const Reader& pixel, OnRun&& onRun,
                AfterColumn&& afterColumn) {
  const int lastColumn = x1 - x0;
  const int lastRow = y1 - y0;
  for (int x = x0; x <= lastColumn; ++x) {
    for (int y = y0; y <= lastRow;) {
      if (pixel(x, y) == transparent) {
        ++y;
        continue;
      }
      // A run starts at y and goes down until the next transparent pixel,
      // or one row past the last row examined.
      int lastInRun = y;
      while (pixel(x, lastInRun + 1) != transparent) {
        ++lastInRun;
        if (lastInRun == lastRow + 1) break;
      }
      onRun(PixelRect{x, y, x + 1, lastInRun + 1});
      y = lastInRun + 1;
    }
    afterColumn();
  }
}

// The vertical runs, as ForEachRun finds them.
std::vector<PixelRect> ShapeRuns(int x0, int y0, int x1, int y1, Colour transparent, const PixelReader& pixel,
                                 const std::function<void()>& afterColumn = {});

}  // namespace wavecrest
