#include "app/qt/qt_window_chrome.h"

#include <QCursor>
#include <QVector>
#include <QWidget>
#include <QWindow>

namespace wavecrest {

void QtWindowChrome::MakeTopmost() {
  // Changing the flags of a shown window re-creates it; the windows set this
  // while they load, before they are shown.
  if (!window_.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
    window_.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
}

QRegion RegionOf(std::span<const PixelRect> rects) {
  QVector<QRect> qrects;
  qrects.reserve(static_cast<qsizetype>(rects.size()));
  for (const PixelRect& r : rects) qrects.push_back(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top));
  QRegion region;
  // The rectangles come banded and sorted, as setRects requires: one call,
  // no rectangle-by-rectangle union.
  if (!qrects.isEmpty()) region.setRects(qrects.constData(), static_cast<int>(qrects.size()));
  return region;
}

void QtWindowChrome::SetRegion(std::span<const PixelRect> rects) {
  const QRegion region = RegionOf(rects);
  // An empty mask would mean "no mask" to Qt; a picture that is all black
  // leaves a single pixel rather than the whole rectangle.
  window_.setMask(region.isEmpty() ? QRegion(0, 0, 1, 1) : region);
  window_.update();
}

void QtWindowChrome::StartDrag() { StartDragAt(QCursor::pos()); }

void QtWindowChrome::StartDragAt(QPoint pointer) {
  QWindow* handle = window_.windowHandle();
  if (handle != nullptr && handle->startSystemMove()) return;
  drag_.Begin(ScreenPoint{pointer.x(), pointer.y()}, ScreenPoint{window_.x(), window_.y()});
}

bool QtWindowChrome::FollowMouse(QPoint global) {
  const auto to = drag_.Follow(ScreenPoint{global.x(), global.y()});
  if (!to) return false;
  window_.move(to->x, to->y);
  return true;
}

void QtWindowChrome::Load(const QImage& skin, const std::function<void()>& afterColumn) {
  MakeTopmost();
  ShapeWindow(*this, 0, 0, skin.width(), skin.height(), kTransparentBlack, SkinReader(skin), [&] {
    if (afterColumn) afterColumn();
  });
}

}  // namespace wavecrest
