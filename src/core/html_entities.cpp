#include "core/html_entities.h"

#include <array>
#include <cstdint>
#include <utility>

namespace wavecrest {

namespace {

// The longest reference decoded: "&#x10FFFF;" and a few leading zeros.
constexpr std::size_t kMaxEntityBytes = 12;

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kNamed = {{
    {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "},
}};

void AppendUtf8(std::uint32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

int DigitValue(char c, int base) {
  int value = 99;
  if (c >= '0' && c <= '9') value = c - '0';
  else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

// "#65" or "#x41" (the name between '&' and ';') as a code point that is a
// character: 0 when it is not one.
std::uint32_t NumericCode(std::string_view name) {
  name.remove_prefix(1);
  int base = 10;
  if (!name.empty() && (name.front() == 'x' || name.front() == 'X')) {
    base = 16;
    name.remove_prefix(1);
  }
  if (name.empty()) return 0;
  std::uint32_t code = 0;
  for (const char c : name) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return 0;
    code = code * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    if (code > 0x10FFFF) return 0;
  }
  if (code >= 0xD800 && code <= 0xDFFF) return 0;
  return code;
}

}  // namespace

std::size_t DecodeEntity(std::string_view text, std::size_t at, std::string& out) {
  const std::size_t semicolon = text.find(';', at);
  if (semicolon == std::string_view::npos || semicolon - at > kMaxEntityBytes) return 0;
  const std::string_view name = text.substr(at + 1, semicolon - at - 1);
  const std::size_t length = semicolon - at + 1;
  if (!name.empty() && name.front() == '#') {
    const std::uint32_t code = NumericCode(name);
    if (code == 0) return 0;
    AppendUtf8(code, out);
    return length;
  }
  for (const auto& [entity, character] : kNamed) {
    if (name == entity) {
      out += character;
      return length;
    }
  }
  return 0;
}

}  // namespace wavecrest
