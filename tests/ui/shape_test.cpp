#include "ui/shape.h"

#include "ui/drag.h"
#include "ui/window_chrome.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

// A picture drawn as text: '#' is pure black, anything else a colour.
PixelReader Picture(const std::vector<std::string>& rows) {
  return [rows](int x, int y) -> Colour {
    if (y < 0 || y >= static_cast<int>(rows.size()) || x < 0 || x >= static_cast<int>(rows[0].size())) {
      return kInvalidColour;
    }
    return rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#' ? kTransparentBlack : 0x336699u;
  };
}

TEST(ShapeRuns, WalksEveryColumnAndRowOnePastThePicture) {
  const struct {
    const char* name;
    std::vector<std::string> rows;
    int x0, y0, x1, y1;
    std::vector<PixelRect> runs;
  } cases[] = {
      {"no black pixel: one run per column, overhanging by two rows, plus the column past the edge",
       {"...", "..."}, 0, 0, 3, 2,
       {{0, 0, 1, 4}, {1, 0, 2, 4}, {2, 0, 3, 4}, {3, 0, 4, 4}}},
      {"left half black: black columns give only the run below the picture",
       {"##..", "##..", "##.."}, 0, 0, 4, 3,
       {{0, 3, 1, 5}, {1, 3, 2, 5}, {2, 0, 3, 5}, {3, 0, 4, 5}, {4, 0, 5, 5}}},
      {"one black pixel splits its column in two",
       {"...", "...", ".#.", "...", "..."}, 0, 0, 3, 5,
       {{0, 0, 1, 7}, {1, 0, 2, 2}, {1, 3, 2, 7}, {2, 0, 3, 7}, {3, 0, 4, 7}}},
      {"a black bottom row: the run stops above it and a new one starts below the picture",
       {"..", "..", "##"}, 0, 0, 2, 3,
       {{0, 0, 1, 2}, {0, 3, 1, 5}, {1, 0, 2, 2}, {1, 3, 2, 5}, {2, 0, 3, 5}}},
      {"a black top row: the run starts below it",
       {"#", "."}, 0, 0, 1, 2,
       {{0, 1, 1, 4}, {1, 0, 1 + 1, 4}}},
      {"an all-black picture still has runs past its edges",
       {"##", "##"}, 0, 0, 2, 2,
       {{0, 2, 1, 4}, {1, 2, 2, 4}, {2, 0, 3, 4}}},
      {"an origin off zero walks to x1 - x0 and y1 - y0",
       {"....", "....", "....", "...."}, 1, 1, 4, 4,
       {{1, 1, 2, 5}, {2, 1, 3, 5}, {3, 1, 4, 5}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShapeRuns(c.x0, c.y0, c.x1, c.y1, kTransparentBlack, Picture(c.rows)), c.runs) << c.name;
  }
}

TEST(ShapeRuns, LetsEventsRunAfterEveryColumn) {
  int columns = 0;
  ShapeRuns(0, 0, 5, 2, kTransparentBlack, Picture({".....", "....."}), [&] { ++columns; });
  EXPECT_EQ(columns, 6);
}

TEST(BandedRegion, IsTheUnionOfTheRunsClippedToTheWindow) {
  const struct {
    const char* name;
    std::vector<std::string> rows;
    std::vector<PixelRect> region;
  } cases[] = {
      {"no black pixel: the whole window", {"....", "....", "...."}, {{0, 0, 4, 3}}},
      {"left half black: only the right half", {"##..", "##..", "##.."}, {{2, 0, 4, 3}}},
      {"one black pixel is a hole",
       {"...", "...", ".#.", "...", "..."},
       {{0, 0, 3, 2}, {0, 2, 1, 3}, {2, 2, 3, 3}, {0, 3, 3, 5}}},
      {"rows with the same columns share a band",
       {"#..#", "#..#", "....", "#..#"},
       {{1, 0, 3, 2}, {0, 2, 4, 3}, {1, 3, 3, 4}}},
      {"an all-black picture: nothing", {"##", "##"}, {}},
      {"a diagonal: one band per row", {".##", "#.#", "##."}, {{0, 0, 1, 1}, {1, 1, 2, 2}, {2, 2, 3, 3}}},
  };
  for (const auto& c : cases) {
    const int width = static_cast<int>(c.rows[0].size()), height = static_cast<int>(c.rows.size());
    const auto runs = ShapeRuns(0, 0, width, height, kTransparentBlack, Picture(c.rows));
    EXPECT_EQ(BandedRegion(runs, width, height), c.region) << c.name;
  }
}

// A noisy picture: every pixel of the region must be exactly a pixel that is
// not black, and the rectangles must be in the banded form window systems take.
TEST(BandedRegion, NoisyPictureMatchesItsPixelsInBandedForm) {
  std::mt19937 random(7);
  const int width = 61, height = 37;
  std::vector<std::string> rows(height, std::string(width, '.'));
  for (auto& row : rows) {
    for (char& c : row) c = random() % 2 ? '#' : '.';
  }
  const auto region = BandedRegion(ShapeRuns(0, 0, width, height, kTransparentBlack, Picture(rows)), width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      ASSERT_EQ(RegionContains(region, x, y), rows[y][x] != '#') << x << "," << y;
    }
  }
  for (std::size_t i = 1; i < region.size(); ++i) {
    const PixelRect& a = region[i - 1];
    const PixelRect& b = region[i];
    if (a.top == b.top) {
      EXPECT_EQ(a.bottom, b.bottom) << i;
      EXPECT_LT(a.right, b.left) << "rectangles of a band neither overlap nor touch, " << i;
    } else {
      EXPECT_LE(a.bottom, b.top) << "bands follow each other downwards, " << i;
    }
  }
}

class RecordingChrome final : public WindowChrome {
 public:
  void MakeTopmost() override {}
  void SetRegion(std::span<const PixelRect> rects) override {
    regions.emplace_back(rects.begin(), rects.end());
  }
  void StartDrag() override {}
  std::vector<std::vector<PixelRect>> regions;
};

TEST(ShapeWindow, GivesTheWindowTheClippedUnionOnce) {
  RecordingChrome chrome;
  ShapeWindow(chrome, 0, 0, 3, 2, kTransparentBlack, Picture({"#..", "..."}));
  ASSERT_EQ(chrome.regions.size(), 1u);
  EXPECT_EQ(chrome.regions[0], (std::vector<PixelRect>{{1, 0, 3, 1}, {0, 1, 3, 2}}));
}

TEST(ManualDrag, KeepsThePointersOffsetFromTheWindow) {
  ManualDrag drag;
  EXPECT_EQ(drag.Follow({50, 50}), std::nullopt) << "no drag before the button goes down";
  drag.Begin({120, 230}, {100, 200});
  const struct {
    ScreenPoint pointer;
    ScreenPoint window;
  } moves[] = {{{120, 230}, {100, 200}}, {{170, 260}, {150, 230}}, {{10, 15}, {-10, -15}}};
  for (const auto& m : moves) EXPECT_EQ(drag.Follow(m.pointer), m.window);
  drag.End();
  EXPECT_FALSE(drag.Active());
  EXPECT_EQ(drag.Follow({300, 300}), std::nullopt) << "no drag after the button is released";
}

}  // namespace
}  // namespace wavecrest
