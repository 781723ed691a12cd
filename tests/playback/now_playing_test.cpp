#include "playback/now_playing.h"

#include "playback/drawing_surface.h"
#include "playback/music_library.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wavecrest {
namespace {

using testing::Scenario;

// Records what is drawn, in order.
class RecordingSurface final : public DrawingSurface {
 public:
  struct Box {
    double x1, y1, x2, y2;
    Rgb colour;
    bool operator==(const Box&) const = default;
  };
  double width = 1060, height = 315;
  std::string font;
  std::vector<Box> boxes;
  std::vector<std::string> texts;
  double textX = 0, textY = 0;
  Rgb textColour;

  double Width() const override { return width; }
  double Height() const override { return height; }
  void SetFont(const std::string& name, double size, bool bold) override {
    font = name + " " + std::to_string(static_cast<int>(size)) + (bold ? " bold" : "");
  }
  void FillBox(double x1, double y1, double x2, double y2, Rgb colour) override {
    boxes.push_back({x1, y1, x2, y2, colour});
  }
  void PrintText(double x, double y, const std::string& text, Rgb colour) override {
    textX = x;
    textY = y;
    textColour = colour;
    texts.push_back(text);
  }
};

TEST(DrawProgress, RedWholeBlackPlayedWhitePercent) {
  const struct {
    const char* name;
    double width;
    std::int16_t position;
    double duration;
    double blackEnd;
    std::string text;
  } cases[] = {
      {"nothing loaded", 1060, -1, 0, -10, "0%"},
      {"a quarter", 1200, 30, 120, 290, "25%"},
      {"at the end", 1200, 120, 120, 1190, "100%"},
      {"an eighth", 1000, 1, 8, 115, "12%"},
      {"position 90 of 300", 1060, 90, 300, 308, "30%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingSurface surface;
    surface.width = c.width;
    DrawProgress(surface, c.position, c.duration);
    ASSERT_EQ(surface.boxes.size(), 2u);
    EXPECT_EQ(surface.boxes[0], (RecordingSurface::Box{0, 0, c.width, 315, Rgb{255, 0, 0}}));
    EXPECT_EQ(surface.boxes[1], (RecordingSurface::Box{0, 0, c.blackEnd, 315, Rgb{0, 0, 0}}));
    EXPECT_EQ(surface.texts, (std::vector<std::string>{c.text}));
    EXPECT_DOUBLE_EQ(surface.textX, c.width / 2 - 100);
    EXPECT_DOUBLE_EQ(surface.textY, 315.0 / 2 - 125);
    EXPECT_EQ(surface.textColour, (Rgb{255, 255, 255}));
    EXPECT_EQ(surface.font, "Times New Roman 9");
  }
}

TEST(DrawProgress, HalvesRoundToTheEvenNeighbour) {
  RecordingSurface surface;
  surface.width = 5;
  DrawProgress(surface, 1, 2);  // 2.5 → 2
  EXPECT_EQ(surface.boxes[1].x2, 2 - 10);
  DrawProgress(surface, 3, 2);  // 7.5 → 8
  EXPECT_EQ(surface.boxes[3].x2, 8 - 10);
}

TEST(PercentOf, WholePartOrZeroWhenItCannotBeMade) {
  EXPECT_EQ(PercentOf(30, 120, 100), 25);
  EXPECT_EQ(PercentOf(1, 3, 100), 33);
  EXPECT_EQ(PercentOf(2, 3, 100), 66);
  EXPECT_EQ(PercentOf(5, 0, 100), 0);
  EXPECT_EQ(PercentOf(32000, 1, 100), 0);  // does not fit 16 bits
  EXPECT_EQ(PercentOf(-1, 0, 100), 0);
}

TEST(WholeSecond, RoundsHalfToEvenWithin16Bits) {
  EXPECT_EQ(WholeSecond(89.6), 90);
  EXPECT_EQ(WholeSecond(2.5), 2);
  EXPECT_EQ(WholeSecond(3.5), 4);
  EXPECT_EQ(WholeSecond(-1), -1);
  EXPECT_EQ(WholeSecond(32767.4), 32767);
  EXPECT_FALSE(WholeSecond(32767.6).has_value());
  EXPECT_FALSE(WholeSecond(std::nan("")).has_value());
}

TEST(RotateMarquee, MovesOneWholeCharacterToTheEnd) {
  const struct {
    std::string text, rotated;
  } cases[] = {
      {"abc", "bca"}, {"bca", "cab"}, {"cab", "abc"}, {"", ""}, {"x", "x"},
      {"éa", "aé"},  {"♪ b", " b♪"},  {"日本", "本日"},
  };
  for (const auto& c : cases) EXPECT_EQ(RotateMarquee(c.text), c.rotated) << c.text;
}

TEST(Timer1, TheDesignTextComesBackAfter34Ticks) {
  Scenario s;
  s.bot().Timer1->SetEnabled(true);
  s.Wait(0.5);
  EXPECT_EQ(s.bot().form1.lblSong2, "avecrest system by quillon       w");
  s.Wait(33 * 0.5);
  EXPECT_EQ(s.bot().form1.lblSong2, kSong2DesignText);
}

TEST(Timer1, StoresWhatTheBarShows) {
  Scenario s;
  s.bot().Timer1->SetEnabled(true);
  s.t.player.fileName = "/music/x.mp3";
  s.t.player.duration = 300;
  s.t.player.position = 89.6;
  s.Wait(0.5);
  EXPECT_EQ(s.bot().form1.Picture1Position, 90);
  EXPECT_EQ(s.bot().form1.Picture1Duration, 300);
  EXPECT_EQ(s.bot().form1.progressPercent, 30);
  // An unreadable player leaves the bar as it was; the text still moves.
  s.t.player.failReads = true;
  s.t.player.position = 150;
  const std::string before = s.bot().form1.lblSong2;
  s.Wait(0.5);
  EXPECT_EQ(s.bot().form1.progressPercent, 30);
  EXPECT_EQ(s.bot().form1.lblSong2, RotateMarquee(before));
  // Nothing loaded: 0%.
  s.t.player.failReads = false;
  testing::NothingLoaded(s);
  s.Wait(0.5);
  EXPECT_EQ(s.bot().form1.progressPercent, 0);
}

}  // namespace
}  // namespace wavecrest
