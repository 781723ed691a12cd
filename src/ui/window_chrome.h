#pragma once

// The chrome of a skinned window: staying above other windows, taking the
// outline of its picture, and being moved by dragging its background.
//
// WindowChrome is the port a window adapter implements. Lifecycle: one per
// window, living as long as the window. Threading: UI thread only. Failures:
// a call the window system refuses is skipped; nothing is reported, and at
// worst the window keeps a rectangular outline or stays where it is.

#include "ui/shape.h"

#include <span>

namespace wavecrest {

class WindowChrome {
 public:
  virtual ~WindowChrome() = default;
  // Puts the window above all ordinary windows, for good. Position and size
  // do not change.
  virtual void MakeTopmost() = 0;
  // Gives the window the region `rects` (window coordinates, the banded
  // form of BandedRegion), replacing any earlier one; the window is redrawn.
  virtual void SetRegion(std::span<const PixelRect> rects) = 0;
  // A mouse button has just gone down over a drag handle: the window follows
  // the mouse until the button is released.
  virtual void StartDrag() = 0;
};

// Shapes the window to its picture: the region is the union of the runs
// ForEachRun finds, clipped to the window's own size of x1 × y1 pixels, given
// to the window once. `afterColumn` as in ForEachRun; `pixel` a PixelReader
// or any callable answering a Colour.
template <typename Reader, typename AfterColumn>
void ShapeWindow(WindowChrome& window, int x0, int y0, int x1, int y1, Colour transparent, const Reader& pixel,
                 AfterColumn&& afterColumn) {
  BandedRegionBuilder region(x1, y1);
  ForEachRun(x0, y0, x1, y1, transparent, pixel, [&](const PixelRect& run) { region.Add(run); }, afterColumn);
  window.SetRegion(region.Bands());
}

template <typename Reader>
void ShapeWindow(WindowChrome& window, int x0, int y0, int x1, int y1, Colour transparent, const Reader& pixel) {
  ShapeWindow(window, x0, y0, x1, y1, transparent, pixel, [] {});
}

}  // namespace wavecrest
