#include "app/qt/marquee_label.h"

#include "app/qt/window_style.h"
#include "app/qt/x11_marquee.h"

#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace wavecrest {
namespace {

// The strip is cut at this width: a longer text (thousands of characters)
// is drawn again, from its turn, when the turns reach the cut.
constexpr int kWidestStrip = 8192;

// Whether `text` is `base` with its first `by` units moved to its end.
bool IsTurn(QStringView text, QStringView base, qsizetype by) {
  const qsizetype rest = base.size() - by;
  return text.size() == base.size() && text.left(rest) == base.mid(by) && text.mid(rest) == base.left(by);
}

}  // namespace

MarqueeLabel::MarqueeLabel(const QString& text, const QImage& skin, QWidget* parent)
    : QWidget(parent), skin_(skin) {
  // Every pixel is the skin or the text: nothing under the line is painted.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Whole-pixel advances: each character then starts on a pixel of the
  // strip, and a turn cut from it is the turned text drawn afresh.
  QFont look = LabelFont(font());
  look.setHintingPreference(QFont::PreferFullHinting);
  setFont(look);
  ratio_ = devicePixelRatioF();
  if (X11Marquee::Available() && ratio_ == 1.0) {
    byServer_ = true;
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
    setAttribute(Qt::WA_NoSystemBackground);
  }
  Take(text);
}

MarqueeLabel::~MarqueeLabel() = default;

void MarqueeLabel::setText(const QString& text) {
  if (text == text_) return;
  Take(text);
  if (!byServer_ || !DrawOnServer()) update();
}

void MarqueeLabel::Take(const QString& text) {
  text_ = text;
  const qsizetype n = base_.size();
  // The display turns by one character: one UTF-16 unit, or two for a
  // character beyond the Basic Multilingual Plane.
  if (n > 0 && text.size() == n) {
    for (const qsizetype step : {1, 2}) {
      const qsizetype turn = (turn_ + step) % n;
      if (!IsTurn(text, base_, turn)) continue;
      turn_ = turn;
      if (From() + Wide() <= strip_.width()) return;
      break;  // past the cut: the strip is made again from this turn
    }
  }
  base_ = text;
  turn_ = 0;
  DrawStrip();
}

void MarqueeLabel::DrawStrip() {
  strip_ = QImage();
  cuts_.clear();
  baseWidth_ = 0;
  serverStripSent_ = false;
  if (base_.isEmpty()) return;
  QTextLayout layout(base_ + base_, font());
  layout.beginLayout();
  const QTextLine line = layout.createLine();
  layout.endLayout();
  const qsizetype n = base_.size();
  cuts_.reserve(static_cast<std::size_t>(n) + 1);
  for (qsizetype i = 0; i <= n; ++i) cuts_.push_back(line.cursorToX(static_cast<int>(i)));
  baseWidth_ = cuts_.back();
  ratio_ = devicePixelRatioF();
  const int wide = std::min(static_cast<int>(std::ceil(line.naturalTextWidth() * ratio_)), kWidestStrip);
  if (wide <= 0) return;
  strip_ = QImage(wide, static_cast<int>(std::ceil(height() * ratio_)), QImage::Format_ARGB32_Premultiplied);
  strip_.setDevicePixelRatio(ratio_);
  strip_.fill(Qt::transparent);
  QPainter painter(&strip_);
  painter.setPen(LabelTextColour());
  layout.draw(&painter, QPointF(0, (height() - line.height()) / 2));
}

// Whole pixels, so the glyphs are not resampled.
int MarqueeLabel::From() const {
  if (cuts_.empty()) return 0;
  return static_cast<int>(std::lround(cuts_[static_cast<std::size_t>(turn_)] * ratio_));
}

int MarqueeLabel::Wide() const {
  return static_cast<int>(std::min(std::lround(baseWidth_ * ratio_), std::lround(width() * ratio_)));
}

int MarqueeLabel::Shown() const { return std::min(Wide(), strip_.width() - From()); }

bool MarqueeLabel::DrawOnServer() {
  if (!isVisible()) return true;  // drawn when it is shown
  if (!server_ || server_->Window() != winId()) {
    server_ = X11Marquee::Create(winId(), skin_.copy(geometry()), LabelTextColour());
    serverStripSent_ = false;
    if (!server_) {
      // A window of another depth than the screen's: Qt paints it after all.
      byServer_ = false;
      setAttribute(Qt::WA_PaintOnScreen, false);
      return false;
    }
  }
  if (!serverStripSent_) {
    server_->SetCoverage(strip_);
    serverStripSent_ = true;
  }
  server_->Draw(From(), Shown());
  return true;
}

QPaintEngine* MarqueeLabel::paintEngine() const { return byServer_ ? nullptr : QWidget::paintEngine(); }

void MarqueeLabel::paintEvent(QPaintEvent*) {
  if (byServer_ && DrawOnServer()) return;
  QPainter painter(this);
  painter.drawImage(rect(), skin_, geometry());
  if (strip_.isNull()) return;
  const int shown = Shown();
  painter.drawImage(QRectF(0, 0, shown / ratio_, height()), strip_, QRectF(From(), 0, shown, strip_.height()));
}

void MarqueeLabel::moveEvent(QMoveEvent*) { server_.reset(); }

void MarqueeLabel::resizeEvent(QResizeEvent*) {
  server_.reset();
  DrawStrip();
}

}  // namespace wavecrest
