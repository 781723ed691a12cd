#include "host/irc/case_mapping.h"

#include <cstddef>

namespace wavecrest::irc {

namespace {

char LowerByte(CaseMapping mapping, char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  if (mapping == CaseMapping::kAscii) return c;
  switch (c) {
    case '[': return '{';
    case ']': return '}';
    case '\\': return '|';
    case '^': return mapping == CaseMapping::kRfc1459 ? '~' : c;
    default: return c;
  }
}

}  // namespace

CaseMapping CaseMappingNamed(std::string_view name) {
  if (name == "ascii") return CaseMapping::kAscii;
  if (name == "strict-rfc1459") return CaseMapping::kStrictRfc1459;
  return CaseMapping::kRfc1459;
}

std::string Fold(CaseMapping mapping, std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerByte(mapping, c);
  return lower;
}

bool SameName(CaseMapping mapping, std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerByte(mapping, a[i]) != LowerByte(mapping, b[i])) return false;
  }
  return true;
}

// Greedy glob with one backtrack point (the last '*').
bool MaskMatches(CaseMapping mapping, std::string_view mask, std::string_view nickUserHost) {
  std::size_t m = 0, t = 0;
  std::size_t starAt = std::string_view::npos, resumeAt = 0;
  while (t < nickUserHost.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starAt = m++;
      resumeAt = t;
    } else if (m < mask.size() &&
               (mask[m] == '?' || LowerByte(mapping, mask[m]) == LowerByte(mapping, nickUserHost[t]))) {
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
