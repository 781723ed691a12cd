#include "library/entry_names.h"

#include "core/text.h"

#include <algorithm>

namespace wavecrest {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool AsciiEqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

}  // namespace

bool IsSelected(std::string_view name, std::string_view extension) {
  const std::string needle = "." + std::string(extension);
  if (name.size() < 2) return false;
  // File names are nearly always ASCII; plain byte folding then gives the same
  // answer as Unicode case folding, far faster.
  if (IsAscii(name) && IsAscii(needle)) {
    for (std::size_t at = 1; at + needle.size() <= name.size(); ++at) {
      if (AsciiEqualIgnoringCase(name.substr(at, needle.size()), needle)) return true;
    }
    return false;
  }
  return FindIgnoringCase(name, needle, 1) != std::string_view::npos;
}

std::string DisplayName(std::string_view path, std::string_view extension) {
  std::string out;
  AppendDisplayName(path, extension, out);
  return out;
}

void AppendDisplayName(std::string_view path, std::string_view extension, std::string& out) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::string find = "." + std::string(extension);
  if (!IsAscii(name) || !IsAscii(find)) {
    out += ReplaceAll(name, find, "");
    return;
  }
  out.reserve(out.size() + name.size());
  std::size_t at = 0;
  while (at < name.size()) {
    if (AsciiEqualIgnoringCase(name.substr(at, find.size()), find)) {
      at += find.size();
    } else {
      out += name[at++];
    }
  }
}

}  // namespace wavecrest
