#include "core/terminal_escape.h"

#include "core/text.h"

#include <cstdio>

namespace wavecrest {
namespace {

// The length of the UTF-8 sequence a lead byte announces; 0 for a byte that
// cannot begin one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
  char escape[8];
  std::snprintf(escape, sizeof escape, format, value);
  out += escape;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || i + length > text.size() || !IsValidUtf8(text.substr(i, length))) {
      AppendEscape(out, "\\x%02x", lead);
      ++i;
      continue;
    }
    if (lead < 0x20 || lead == 0x7F) {
      AppendEscape(out, "\\x%02x", lead);
    } else if (lead == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      AppendEscape(out, "\\u%04x", static_cast<unsigned char>(text[i + 1]));
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

}  // namespace wavecrest
