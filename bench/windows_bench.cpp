// The windows' costs: shaping a window to its skin (the runs, the banded
// region, Qt's region from it) for the real skin and for the worst pictures
// of the same size, and one full repaint of the progress bar.
#include "app/qt/qt_drawing_surface.h"
#include "app/qt/qt_window_chrome.h"
#include "app/qt/window_style.h"
#include "playback/now_playing.h"
#include "ui/shape.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <random>

namespace wavecrest {
namespace {

// Fonts need a GUI application; the offscreen platform needs no display.
void EnsureGuiApp() {
  if (QCoreApplication::instance() != nullptr) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "wavecrest_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

// What the window does when it loads, short of handing the region to the
// window system.
QRegion Shape(const QImage& skin) {
  BandedRegionBuilder region(skin.width(), skin.height());
  ForEachRun(0, 0, skin.width(), skin.height(), kTransparentBlack, SkinReader(skin),
             [&](const PixelRect& run) { region.Add(run); }, [] {});
  return RegionOf(region.Bands());
}

std::vector<PixelRect> Runs(const QImage& picture) {
  std::vector<PixelRect> runs;
  ForEachRun(0, 0, picture.width(), picture.height(), kTransparentBlack, SkinReader(picture),
             [&](const PixelRect& run) { runs.push_back(run); }, [] {});
  return runs;
}

QImage Noisy(bool checkerboard) {
  QImage picture(297, 257, QImage::Format_RGB32);
  std::mt19937 random(11);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const bool black = checkerboard ? (x + y) % 2 == 0 : random() % 2 == 0;
      picture.setPixel(x, y, black ? qRgb(0, 0, 0) : qRgb(40, 120, 200));
    }
  }
  return picture;
}

void BM_ShapeMainWindowRealSkin(benchmark::State& state) {
  const QImage skin = LoadSkin(":/skins/main.png");
  for (auto _ : state) benchmark::DoNotOptimize(Shape(skin));
  state.counters["rects"] = static_cast<double>(Shape(skin).rectCount());
}
BENCHMARK(BM_ShapeMainWindowRealSkin)->Unit(benchmark::kMicrosecond);

// The parts of it: the walk alone, and the banded region from the runs.
void BM_ShapeSteps(benchmark::State& state) {
  const QImage picture = state.range(0) == 0 ? LoadSkin(":/skins/main.png") : Noisy(true);
  const auto runs = Runs(picture);
  const auto rects = BandedRegion(runs, 297, 257);
  for (auto _ : state) {
    switch (state.range(1)) {
      case 0: benchmark::DoNotOptimize(Runs(picture)); break;
      case 1: benchmark::DoNotOptimize(BandedRegion(runs, 297, 257)); break;
      default: benchmark::DoNotOptimize(RegionOf(rects)); break;
    }
  }
}
BENCHMARK(BM_ShapeSteps)->ArgsProduct({{0, 1}, {0, 1, 2}})->ArgNames({"checkerboard", "step"})->Unit(benchmark::kMicrosecond);

// Half the pixels black at random, and every other pixel black: the most runs a
// picture of this size can have.
void BM_ShapeNoisyPicture(benchmark::State& state) {
  const QImage picture = Noisy(state.range(0) == 1);
  for (auto _ : state) benchmark::DoNotOptimize(Shape(picture));
  state.counters["rects"] = static_cast<double>(Shape(picture).rectCount());
}
BENCHMARK(BM_ShapeNoisyPicture)->Arg(0)->Arg(1)->ArgName("checkerboard")->Unit(benchmark::kMicrosecond);

// For comparison: the same noisy picture's region made one union at a time.
void BM_ShapeNoisyPictureOneUnionAtATime(benchmark::State& state) {
  const QImage picture = Noisy(false);
  for (auto _ : state) {
    QRegion region;
    for (const PixelRect& r : Runs(picture)) {
      region += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    benchmark::DoNotOptimize(region);
  }
}
BENCHMARK(BM_ShapeNoisyPictureOneUnionAtATime)->Iterations(1)->Unit(benchmark::kMillisecond);

// One Timer1 repaint: the bar drawn on its surface, then put on the window.
void BM_ProgressBarRepaint(benchmark::State& state) {
  EnsureGuiApp();
  QtDrawingSurface surface(1060, 315);
  QImage window(297, 257, QImage::Format_RGB32);
  int position = 0;
  for (auto _ : state) {
    DrawProgress(surface, static_cast<std::int16_t>(position++ % 180), 180.0);
    QPainter painter(&window);
    painter.drawImage(QPoint(208, 108), surface.Picture());
  }
}
BENCHMARK(BM_ProgressBarRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wavecrest
