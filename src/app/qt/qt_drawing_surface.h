#pragma once

// The progress bar's drawing surface on Qt: a picture the size of the
// picture box, drawn in twips (15 to a pixel) and kept until drawn over, as
// a persistent drawing is. The widget paints the picture.

#include "playback/drawing_surface.h"

#include <QFont>
#include <QImage>

namespace wavecrest {

class QtDrawingSurface final : public DrawingSurface {
 public:
  // A surface `widthTwips` × `heightTwips`, cleared to white.
  QtDrawingSurface(int widthTwips, int heightTwips);

  double Width() const override { return widthTwips_; }
  double Height() const override { return heightTwips_; }
  void SetFont(const std::string& name, double size, bool bold) override;
  void FillBox(double x1, double y1, double x2, double y2, Rgb colour) override;
  void PrintText(double x, double y, const std::string& text, Rgb colour) override;

  const QImage& Picture() const { return picture_; }

 private:
  int widthTwips_;
  int heightTwips_;
  QImage picture_;
  QFont font_;
};

}  // namespace wavecrest
