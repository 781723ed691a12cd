#include "ui/window_chrome.h"

namespace wavecrest {

void ShapeWindow(WindowChrome& window, int x0, int y0, int x1, int y1, Colour transparent, const PixelReader& pixel,
                 const std::function<void()>& afterColumn) {
  const std::vector<PixelRect> runs = ShapeRuns(x0, y0, x1, y1, transparent, pixel, afterColumn);
  const std::vector<PixelRect> region = BandedRegion(runs, x1, y1);
  window.SetRegion(region);
}

}  // namespace wavecrest
