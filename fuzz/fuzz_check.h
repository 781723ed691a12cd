#pragma once

// What the fuzz targets share: a property that does not hold is a finding, so
// it aborts with what was seen (libFuzzer then saves the input that did it).

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace wavecrest::fuzz {

inline void Check(bool holds, std::string_view what) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

// Whether `text` holds a C0 control, DEL or a C1 control (C2 80 … C2 9F).
inline bool HasControl(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) return true;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
  }
  return false;
}

}  // namespace wavecrest::fuzz
