#include "ui/shape.h"

#include <algorithm>
#include <cstddef>

namespace wavecrest {

std::vector<PixelRect> ShapeRuns(int x0, int y0, int x1, int y1, Colour transparent, const PixelReader& pixel,
                                 const std::function<void()>& afterColumn) {
  std::vector<PixelRect> runs;
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
      int e = y;
      while (pixel(x, e + 1) != transparent) {
        ++e;
        if (e == lastRow + 1) break;
      }
      runs.push_back(PixelRect{x, y, x + 1, e + 1});
      y = e + 1;
    }
    if (afterColumn) afterColumn();
  }
  return runs;
}

namespace {

struct Span {
  int left;
  int right;
  bool operator==(const Span&) const = default;
};

// The covered spans of one row of the coverage map.
void RowSpans(const std::vector<unsigned char>& covered, int width, int y, std::vector<Span>& out) {
  out.clear();
  const unsigned char* row = covered.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  for (int x = 0; x < width;) {
    if (row[x] == 0) {
      ++x;
      continue;
    }
    const int left = x;
    while (x < width && row[x] != 0) ++x;
    out.push_back(Span{left, x});
  }
}

}  // namespace

std::vector<PixelRect> BandedRegion(std::span<const PixelRect> runs, int width, int height) {
  std::vector<PixelRect> rects;
  if (width <= 0 || height <= 0) return rects;
  // Paint every run into a coverage map, then read it back row by row,
  // merging rows with the same spans into one band. Each pixel of the clip
  // area is touched a bounded number of times, whatever the runs.
  std::vector<unsigned char> covered(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  for (const PixelRect& r : runs) {
    const int left = std::max(r.left, 0), right = std::min(r.right, width);
    const int top = std::max(r.top, 0), bottom = std::min(r.bottom, height);
    for (int y = top; y < bottom; ++y) {
      unsigned char* row = covered.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      std::fill(row + left, row + std::max(left, right), static_cast<unsigned char>(1));
    }
  }
  std::vector<Span> band, row;
  int bandTop = 0;
  const auto emit = [&](int bandBottom) {
    for (const Span& s : band) rects.push_back(PixelRect{s.left, bandTop, s.right, bandBottom});
  };
  for (int y = 0; y < height; ++y) {
    RowSpans(covered, width, y, row);
    if (y > 0 && row == band) continue;
    emit(y);
    band.swap(row);
    bandTop = y;
  }
  emit(height);
  return rects;
}

bool RegionContains(std::span<const PixelRect> rects, int x, int y) {
  return std::any_of(rects.begin(), rects.end(), [&](const PixelRect& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  });
}

}  // namespace wavecrest
