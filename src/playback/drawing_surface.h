#pragma once

// A surface the progress bar is drawn on: the main window's picture box
// (a painter in the windowed front-end, a recording in tests).
//
// Coordinates are the surface's own drawing units, origin at the top left.
// Threading: UI thread only. Failures: none reported; a surface that cannot
// draw skips the call. Drawing is kept until drawn over (persistent drawing).

#include <string>

namespace wavecrest {

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
  bool operator==(const Rgb&) const = default;
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // The extent in drawing units.
  virtual double Width() const = 0;
  virtual double Height() const = 0;

  // The font later text is printed in.
  virtual void SetFont(const std::string& name, double size, bool bold) = 0;
  // A solid box between two corners, filled and outlined in `colour`. The
  // corners may come in any order; a box reaching outside the surface is
  // clipped to it.
  virtual void FillBox(double x1, double y1, double x2, double y2, Rgb colour) = 0;
  // Prints `text` with its top left at (x, y) in `colour`.
  virtual void PrintText(double x, double y, const std::string& text, Rgb colour) = 0;
};

}  // namespace wavecrest
