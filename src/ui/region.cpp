#include "ui/region.h"

#include <algorithm>
#include <cstddef>

namespace wavecrest {
namespace {

struct Span {
  int left;
  int right;
  bool operator==(const Span&) const = default;
};

// The covered spans of one row of the coverage map.
void RowSpans(const unsigned char* row, int width, std::vector<Span>& out) {
  out.clear();
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

BandedRegionBuilder::BandedRegionBuilder(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      covered_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

void BandedRegionBuilder::Add(const PixelRect& rect) {
  const int left = std::max(rect.left, 0), right = std::min(rect.right, width_);
  const int top = std::max(rect.top, 0), bottom = std::min(rect.bottom, height_);
  if (left >= right) return;
  for (int y = top; y < bottom; ++y) {
    unsigned char* row = covered_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    std::fill(row + left, row + right, static_cast<unsigned char>(1));
  }
}

std::vector<PixelRect> BandedRegionBuilder::Bands() const {
  std::vector<PixelRect> rects;
  // Rows with the same spans as the row above join its band.
  std::vector<Span> band, row;
  int bandTop = 0;
  const auto emitBand = [&](int bandBottom) {
    for (const Span& s : band) rects.push_back(PixelRect{s.left, bandTop, s.right, bandBottom});
  };
  for (int y = 0; y < height_; ++y) {
    RowSpans(covered_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_), width_, row);
    if (y > 0 && row == band) continue;
    emitBand(y);
    band.swap(row);
    bandTop = y;
  }
  emitBand(height_);
  return rects;
}

std::vector<PixelRect> BandedRegion(std::span<const PixelRect> runs, int width, int height) {
  BandedRegionBuilder builder(width, height);
  for (const PixelRect& run : runs) builder.Add(run);
  return builder.Bands();
}

bool RegionContains(std::span<const PixelRect> rects, int x, int y) {
  return std::any_of(rects.begin(), rects.end(), [&](const PixelRect& r) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  });
}

}  // namespace wavecrest
