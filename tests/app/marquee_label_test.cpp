#include "app/qt/marquee_label.h"

#include "app/qt/window_style.h"
#include "app/widgets_app.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>

namespace wavecrest {
namespace {

// The first character moved to the end, as the song line turns.
QString TurnedOnce(const QString& text) {
  const qsizetype unit = text.size() > 1 && text[0].isHighSurrogate() ? 2 : 1;
  return text.mid(unit) + text.left(unit);
}

// How far two pictures of the line are apart: the share of pixels where a
// colour differs by more than a glyph edge's rounding.
double Differing(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 1;
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                 std::abs(qBlue(p) - qBlue(q))});
      differing += most > 48;
    }
  }
  return static_cast<double>(differing) / (a.width() * a.height());
}

QString LongLine() {
  QString line;
  for (int i = 0; i < 400; ++i) line += QStringLiteral("track %1 - ").arg(i, 4, 10, QChar('0'));
  return line;  // about 4,800 characters, far wider than one strip
}

TEST(MarqueeLabel, EveryTurnShowsWhatTheTurnedTextShowsDrawnAfresh) {
  const QImage skin = LoadSkin(":/skins/main.png");
  const QRect place(16, 218, 265, 18);
  struct Case {
    const char* name;
    QString text;
    int turns;
  };
  const Case cases[] = {
      {"design text, one turn", "wavecrest system by quillon       ", 1},
      {"design text, all but one turn", "wavecrest system by quillon       ", 33},
      {"a song with a character beyond 16 bits", QString::fromUtf8("*** sea \xF0\x9F\x8E\xB5 shanty (3:05) "), 12},
      {"a line wider than the strip, past its cut", LongLine(), 1500},
  };
  for (const Case& c : cases) {
    QWidget window;
    window.resize(skin.size());
    MarqueeLabel turning(c.text, skin, &window);
    turning.setGeometry(place);
    QString shown = c.text;
    for (int i = 0; i < c.turns; ++i) {
      shown = TurnedOnce(shown);
      turning.setText(shown);
    }
    EXPECT_EQ(turning.text(), shown) << c.name;
    MarqueeLabel fresh(shown, skin, &window);
    fresh.setGeometry(place);
    const QImage a = turning.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage b = fresh.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(Differing(a, b), 0.002) << c.name;
    // One turn further is plainly another picture: the comparison sees turns.
    MarqueeLabel further(TurnedOnce(shown), skin, &window);
    further.setGeometry(place);
    EXPECT_GT(Differing(a, further.grab().toImage().convertToFormat(QImage::Format_RGB32)), 0.05) << c.name;
  }
}

}  // namespace
}  // namespace wavecrest
