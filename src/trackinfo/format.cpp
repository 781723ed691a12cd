#include "trackinfo/format.h"

#include "core/event_loop.h"
#include "core/media_player.h"

#include <chrono>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

namespace wavecrest {

namespace {

// The nearest whole number, a half going to the even neighbour (185.5 → 186,
// 184.5 → 184), as the platform's conversions of a number to an integer and
// to a text with decimals both round.
double RoundHalfToEven(double value) {
  return value - std::floor(value) == 0.5 ? 2.0 * std::round(value / 2.0) : std::round(value);
}

// nullopt when the value is not a number or leaves the 32-bit range, where
// the conversion to an integer would fail.
std::optional<std::int32_t> ToWholeSecondsHalfEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double whole = RoundHalfToEven(value);
  if (whole < std::numeric_limits<std::int32_t>::min() || whole > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(whole);
}

std::string TwoDigits(std::int32_t seconds) {
  std::string digits = std::to_string(seconds < 0 ? -static_cast<std::int64_t>(seconds) : seconds);
  if (digits.size() < 2) digits.insert(0, "0");
  return seconds < 0 ? "-" + digits : digits;
}

}  // namespace

std::string FormatSeconds(std::optional<double> duration, const std::function<void()>& onMinute) {
  std::int32_t seconds = 0;
  if (duration) seconds = ToWholeSecondsHalfEven(*duration).value_or(0);
  std::int64_t minutes = 0;
  while (seconds > 59) {
    seconds -= 60;
    ++minutes;
    if (onMinute) onMinute();
  }
  return std::to_string(minutes) + ":" + TwoDigits(seconds);
}

std::string FormatTime(MediaPlayer& player, EventLoop& loop) {
  const std::optional<double> duration = player.Duration();
  return FormatSeconds(duration, [&loop] { loop.PumpOnce(std::chrono::milliseconds(0)); });
}

std::string FormatByteCount(std::uint64_t bytes) {
  double value = static_cast<double>(bytes) / 1024.0 / 1024.0;
  const char* unit = "</b>mb";
  if (!(value > 1.0)) {
    value *= 1024.0;
    unit = "</b>kb";
    if (!(value > 1.0)) {
      value *= 1024.0;
      unit = "</b>bytes";
    }
  }
  // Two decimals, a tie to the even neighbour. The byte count divided by a
  // power of two is exact in a double, and so is its product with 100 for
  // any size a disk holds, so a tie is seen as a tie.
  const auto hundredths = static_cast<std::uint64_t>(RoundHalfToEven(value * 100.0));
  // Trailing zeros of the decimals are not shown: "4.5", "700".
  std::string text = std::to_string(hundredths / 100);
  const std::uint64_t decimals = hundredths % 100;
  if (decimals != 0) {
    text += '.';
    text += static_cast<char>('0' + decimals / 10);
    if (decimals % 10 != 0) text += static_cast<char>('0' + decimals % 10);
  }
  return text + unit;
}

std::optional<std::string> FormatSize(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file(path);
  if (path.empty() || !std::filesystem::is_regular_file(file, error)) return std::nullopt;
  const std::uintmax_t bytes = std::filesystem::file_size(file, error);
  if (error) return std::nullopt;
  return FormatByteCount(bytes);
}

}  // namespace wavecrest
