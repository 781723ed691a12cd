#pragma once

// The scrolling song line. Its text turns by one character twice a second,
// always, so drawing it is most of what the windowed program does at rest.
// Two pictures are made once per text: the skin under the line, and the
// text written twice over on nothing (the strip); a turn of the same text
// only moves where the strip is cut from. On X the server keeps both
// pictures and puts each turn together itself (X11Marquee); elsewhere Qt
// paints the line, and only the line.

#include <QImage>
#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

namespace wavecrest {

class X11Marquee;

class MarqueeLabel final : public QWidget {
 public:
  // `skin` is the picture of the window the line sits on; the part under the
  // line is its background.
  MarqueeLabel(const QString& text, const QImage& skin, QWidget* parent);
  ~MarqueeLabel() override;

  QString text() const { return text_; }
  void setText(const QString& text);

  // Drawn by the X server rather than by Qt.
  bool DrawnByServer() const { return byServer_; }

 protected:
  QPaintEngine* paintEngine() const override;
  void paintEvent(QPaintEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Finds `text` as a turn of the strip's text; otherwise the strip is made
  // again from `text`, unturned.
  void Take(const QString& text);
  void DrawStrip();
  // Where the strip is cut from now, how wide the turned text is, and how
  // much of it the strip holds from there, in the strip's pixels.
  int From() const;
  int Wide() const;
  int Shown() const;
  // Draws the line through the server; false when it cannot be.
  bool DrawOnServer();

  const QImage& skin_;
  bool byServer_ = false;
  QString text_;
  QString base_;             // the text the strip was drawn from
  qsizetype turn_ = 0;       // characters of `base_` moved to its end
  QImage strip_;             // `base_` twice, on nothing (cut at its widest)
  std::vector<qreal> cuts_;  // where each character of `base_` starts in the strip
  qreal baseWidth_ = 0;      // how wide `base_` is, once
  qreal ratio_ = 1;          // device pixels a pixel, when the strip was drawn
  std::unique_ptr<X11Marquee> server_;
  bool serverStripSent_ = false;
};

}  // namespace wavecrest
