#include "host/irc/message.h"

#include <cstddef>

namespace wavecrest::irc {

namespace {

char LowerByte(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  switch (c) {
    case '[': return '{';
    case ']': return '}';
    case '\\': return '|';
    case '^': return '~';
    default: return c;
  }
}

}  // namespace

std::string IrcLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerByte(c);
  return lower;
}

bool SameNick(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerByte(a[i]) != LowerByte(b[i])) return false;
  }
  return true;
}

// Greedy glob with one backtrack point (the last '*'): linear in practice and
// never exponential, whatever a hostile mask holds.
bool MaskMatches(std::string_view mask, std::string_view nickUserHost) {
  std::size_t m = 0, t = 0;
  std::size_t starAt = std::string_view::npos, resumeAt = 0;
  while (t < nickUserHost.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starAt = m++;
      resumeAt = t;
    } else if (m < mask.size() && (mask[m] == '?' || LowerByte(mask[m]) == LowerByte(nickUserHost[t]))) {
      ++m;
      ++t;
    } else if (starAt != std::string_view::npos) {
      m = starAt + 1;
      t = ++resumeAt;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace wavecrest::irc
