#pragma once

// WindowChrome on a Qt top-level widget: the stays-on-top flag, the mask
// (a QRegion made in one step from the banded rectangles), and dragging by
// the window system's own move when it offers one, by hand otherwise (an X
// server without a window manager has none). The widget forwards its mouse
// moves and releases to FollowMouse/EndDrag.

#include "ui/drag.h"
#include "ui/window_chrome.h"

#include <QImage>
#include <QPoint>
#include <QRegion>

#include <functional>

class QWidget;

namespace wavecrest {

class QtWindowChrome final : public WindowChrome {
 public:
  explicit QtWindowChrome(QWidget& window) : window_(window) {}

  void MakeTopmost() override;
  void SetRegion(std::span<const PixelRect> rects) override;
  void StartDrag() override;
  // StartDrag with the pointer where the button went down (screen pixels).
  void StartDragAt(QPoint global);

  // The mouse moved to `global` (screen pixels); returns whether the window
  // was moved by hand.
  bool FollowMouse(QPoint global);
  void EndDrag() { drag_.End(); }
  bool DraggingByHand() const { return drag_.Active(); }

  // MakeTopmost, then ShapeWindow on the skin: black is cut away, and the
  // window is `skin`'s size.
  void Load(const QImage& skin, const std::function<void()>& afterColumn = {});

 private:
  QWidget& window_;
  ManualDrag drag_;
};

// The region in Qt's form.
QRegion RegionOf(std::span<const PixelRect> rects);

// Reads the skin's pixels as the shaping walk wants them: 0xRRGGBB inside,
// kInvalidColour outside. Straight from the picture's rows: each pixel is
// read about twice while shaping, and QImage::pixel() would look up the
// format every time. The skin must outlive the reader.
class SkinReader {
 public:
  explicit SkinReader(const QImage& skin)
      : picture_(skin.format() == QImage::Format_RGB32 || skin.format() == QImage::Format_ARGB32
                     ? skin
                     : skin.convertToFormat(QImage::Format_RGB32)),
        width_(picture_.width()),
        height_(picture_.height()) {}

  Colour operator()(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return kInvalidColour;
    return static_cast<Colour>(reinterpret_cast<const QRgb*>(picture_.constScanLine(y))[x] & 0xFFFFFFu);
  }

 private:
  QImage picture_;  // shares the skin's pixels (implicit sharing), or a converted copy
  int width_;
  int height_;
};

}  // namespace wavecrest
