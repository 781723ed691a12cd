#include "host/irc/nick_fallback.h"

#include <algorithm>

namespace wavecrest::irc {

std::string FallbackNick(std::string_view wanted, int attempt, std::size_t maxLength) {
  std::string suffix;
  if (attempt == 1) suffix = "_";
  else if (attempt == 2) suffix = "__";
  else if (attempt > 2) suffix = std::to_string(attempt - 2);
  std::size_t keep = wanted.size();
  if (maxLength > 0) keep = std::min(keep, maxLength > suffix.size() ? maxLength - suffix.size() : std::size_t{1});
  return std::string(wanted.substr(0, std::max<std::size_t>(keep, 1))) + suffix;
}

}  // namespace wavecrest::irc
