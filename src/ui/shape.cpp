#include "ui/shape.h"

namespace wavecrest {

std::vector<PixelRect> ShapeRuns(int x0, int y0, int x1, int y1, Colour transparent, const PixelReader& pixel,
                                 const std::function<void()>& afterColumn) {
  std::vector<PixelRect> runs;
  ForEachRun(
      x0, y0, x1, y1, transparent, pixel, [&](const PixelRect& run) { runs.push_back(run); },
      [&] {
        if (afterColumn) afterColumn();
      });
  return runs;
}

}  // namespace wavecrest
