#include "host/irc/nick.h"

#include <algorithm>

namespace wavecrest::irc {
namespace {

constexpr std::size_t kMaxNickBytes = 30;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSpecial(char c) { return std::string_view("[]\\`_^{|}").find(c) != std::string_view::npos; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool ValidNick(std::string_view nick) {
  if (nick.empty() || nick.size() > kMaxNickBytes) return false;
  if (!IsLetter(nick[0]) && !IsSpecial(nick[0])) return false;
  return std::all_of(nick.begin() + 1, nick.end(),
                     [](char c) { return IsLetter(c) || IsSpecial(c) || IsDigit(c) || c == '-'; });
}

}  // namespace wavecrest::irc
