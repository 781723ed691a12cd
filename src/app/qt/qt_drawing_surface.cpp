#include "app/qt/qt_drawing_surface.h"

#include "app/qt/twips.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace wavecrest {

QtDrawingSurface::QtDrawingSurface(int widthTwips, int heightTwips)
    : widthTwips_(widthTwips),
      heightTwips_(heightTwips),
      picture_(std::max(1, TwipsToPixels(widthTwips)), std::max(1, TwipsToPixels(heightTwips)),
               QImage::Format_RGB32) {
  picture_.fill(Qt::white);
}

void QtDrawingSurface::SetFont(const std::string& name, double size, bool bold) {
  font_ = QFont(QString::fromStdString(name));
  font_.setPointSizeF(size);
  font_.setBold(bold);
}

void QtDrawingSurface::FillBox(double x1, double y1, double x2, double y2, Rgb colour) {
  // The box covers the pixels from its near corner up to its far one, so a
  // box ending at or left of the surface's edge draws nothing.
  const int left = TwipsToPixels(std::min(x1, x2)), right = TwipsToPixels(std::max(x1, x2));
  const int top = TwipsToPixels(std::min(y1, y2)), bottom = TwipsToPixels(std::max(y1, y2));
  const QRect box = QRect(left, top, right - left, bottom - top).intersected(picture_.rect());
  if (box.isEmpty()) return;
  QPainter painter(&picture_);
  painter.fillRect(box, QColor(colour.red, colour.green, colour.blue));
}

void QtDrawingSurface::PrintText(double x, double y, const std::string& text, Rgb colour) {
  QPainter painter(&picture_);
  painter.setFont(font_);
  painter.setPen(QColor(colour.red, colour.green, colour.blue));
  const QFontMetricsF metrics(font_);
  painter.drawText(QPointF(x / kTwipsPerPixel, y / kTwipsPerPixel + metrics.ascent()), QString::fromStdString(text));
}

}  // namespace wavecrest
