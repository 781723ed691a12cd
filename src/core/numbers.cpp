#include "core/numbers.h"

#include <charconv>
#include <cmath>

namespace wavecrest {

std::optional<double> DecimalNumber(const std::string& text) {
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  const std::size_t end = text.find_last_not_of(' ') + 1;
  double value = 0;
  const auto [stop, ec] = std::from_chars(text.data() + begin, text.data() + end, value);
  if (ec != std::errc() || stop != text.data() + end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<long long> WholeNumber(const std::string& text) {
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

int VolumeForPercent(double percent) { return static_cast<int>(std::nearbyint(percent * 25 - 2500)); }

}  // namespace wavecrest
