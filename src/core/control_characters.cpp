#include "core/control_characters.h"

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

unsigned char Byte(std::string_view text, std::size_t at) { return static_cast<unsigned char>(text[at]); }

}  // namespace

std::size_t ControlLength(std::string_view text, std::size_t at) {
  const unsigned char c = Byte(text, at);
  if (c < 0x20 || c == 0x7F) return 1;
  if (c == 0xC2 && at + 1 < text.size() && Byte(text, at + 1) >= 0x80 && Byte(text, at + 1) <= 0x9F) return 2;
  return 0;
}

std::string EscapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = Byte(text, i);
    const std::size_t length = SequenceLength(lead);
    if (length == 0 || i + length > text.size() || !IsValidUtf8(text.substr(i, length))) {
      AppendEscape(out, "\\x%02x", lead);
      ++i;
      continue;
    }
    const std::size_t control = ControlLength(text, i);
    if (control == 1) {
      AppendEscape(out, "\\x%02x", lead);
    } else if (control == 2) {
      AppendEscape(out, "\\u%04x", Byte(text, i + 1));
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

std::string RemoveControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t control = ControlLength(text, i);
    if (control == 0) out += text[i];
    i += control == 0 ? 1 : control;
  }
  return out;
}

std::string PlainLine(std::string_view text, NulInLine nul) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    const bool separates = c == '\r' || c == '\n' || c == '\t' || (c == '\0' && nul == NulInLine::kSpace);
    const std::size_t control = ControlLength(text, i);
    if (separates) {
      line += ' ';
    } else if (control == 0) {
      line += c;
    }
    i += control == 0 ? 1 : control;
  }
  return line;
}

std::string WithoutControlCharacters(std::string_view text) { return RemoveControls(ToUtf8(text)); }

}  // namespace wavecrest
