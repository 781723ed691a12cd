#include "playback/now_playing.h"

#include "core/bot.h"
#include "core/text.h"
#include "playback/drawing_surface.h"

#include <cmath>
#include <limits>

namespace wavecrest {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

}  // namespace

std::optional<std::int16_t> WholeSecond(double position) {
  if (!std::isfinite(position)) return std::nullopt;
  const double whole = std::nearbyint(position);
  if (whole < std::numeric_limits<std::int16_t>::min() || whole > std::numeric_limits<std::int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int16_t>(whole);
}

std::int16_t PercentOf(std::int16_t position, double duration, double scale) {
  if (duration == 0 || !std::isfinite(duration)) return 0;
  const double percent = std::floor(scale * position / duration);
  if (!std::isfinite(percent) || percent < std::numeric_limits<std::int16_t>::min() ||
      percent > std::numeric_limits<std::int16_t>::max()) {
    return 0;
  }
  return static_cast<std::int16_t>(percent);
}

void DrawProgress(DrawingSurface& surface, std::int16_t position, double duration) {
  surface.SetFont("Times New Roman", 9, false);
  const double width = surface.Width();
  const double height = surface.Height();
  // Without a length there is no proportion: nothing is played yet.
  double filled = 0;
  if (duration != 0 && std::isfinite(duration)) filled = std::nearbyint(width * position / duration);
  surface.FillBox(0, 0, width, height, kRed);
  surface.FillBox(0, 0, filled - 10, height, kBlack);
  surface.PrintText(width / 2 - 100, height / 2 - 125, std::to_string(PercentOf(position, duration, 100)) + "%",
                    kWhite);
}

std::string RotateMarquee(const std::string& text) {
  if (text.empty()) return text;
  const std::size_t first = FirstCodePoints(text, 1).size();
  return text.substr(first) + text.substr(0, first);
}

void Timer1_Timer(Bot& bot) {
  const auto position = bot.player.CurrentPosition();
  const auto duration = bot.player.Duration();
  const auto second = position ? WholeSecond(*position) : std::nullopt;
  Form1& form = bot.form1;
  if (second && duration) {
    form.Picture1Position = *second;
    form.Picture1Duration = *duration;
    form.progressPercent = PercentOf(*second, *duration, 100);
  }
  form.lblSong2 = RotateMarquee(form.lblSong2);
  // At rest every other change was shown when its handler ended; inside a
  // handler's pause the tick shows what that handler changed so far.
  if (bot.BusyDepth() > 1) return bot.mainView.Refresh();
  bot.mainView.RefreshNowPlaying();
}

}  // namespace wavecrest
