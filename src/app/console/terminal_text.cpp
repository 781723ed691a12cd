#include "app/console/terminal_text.h"

#include "core/text.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace wavecrest {
namespace {

bool IsHexColour(std::string_view s) {
  if (s.size() != 6) return false;
  for (const char c : s) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string ColourCode(std::string_view hex) {
  const int rgb = std::stoi(std::string(hex), nullptr, 16);
  char code[32];
  std::snprintf(code, sizeof code, "\x1b[38;2;%d;%d;%dm", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  return code;
}

struct Style {
  bool bold = false, italic = false, underline = false;
  std::string colour;  // an SGR colour sequence, or empty
  std::string Sequence() const {
    std::string s = "\x1b[0m";
    if (bold) s += "\x1b[1m";
    if (italic) s += "\x1b[3m";
    if (underline) s += "\x1b[4m";
    return s + colour;
  }
};

// Applies one tag (without its angle brackets) to the style.
void ApplyTag(std::string_view tag, Style& style) {
  const std::string lower = LowerCase(tag);
  const bool closing = !lower.empty() && lower[0] == '/';
  const std::string_view name = std::string_view(lower).substr(closing ? 1 : 0);
  if (name == "b") style.bold = !closing;
  if (name == "i") style.italic = !closing;
  if (name == "u") style.underline = !closing;
  if (name.starts_with("font")) {
    if (closing) {
      style.colour.clear();
      return;
    }
    const std::size_t at = name.find("color=");
    if (at == std::string_view::npos) return;
    std::string_view value = name.substr(at + 6);
    if (!value.empty() && (value[0] == '"' || value[0] == '\'')) value.remove_prefix(1);
    if (!value.empty() && value[0] == '#') value.remove_prefix(1);
    value = value.substr(0, 6);
    if (IsHexColour(value)) style.colour = ColourCode(value);
  }
}

std::string DecodeEntity(std::string_view entity) {
  if (entity == "&lt;") return "<";
  if (entity == "&gt;") return ">";
  if (entity == "&amp;") return "&";
  if (entity == "&quot;") return "\"";
  if (entity == "&nbsp;") return " ";
  return std::string(entity);
}

}  // namespace

std::string WithoutControlCharacters(std::string_view text) {
  const std::string utf8 = ToUtf8(text);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x20 || c == 0x7F) continue;
    // C1 controls U+0080…U+009F are encoded as C2 80 … C2 9F.
    if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      ++i;
      continue;
    }
    out.push_back(static_cast<char>(c));
  }
  return out;
}

std::string RenderChatHtml(std::string_view html) {
  const std::string clean = WithoutControlCharacters(html);
  std::string out;
  Style style;
  std::size_t i = 0;
  while (i < clean.size()) {
    if (clean[i] == '<') {
      const std::size_t close = clean.find('>', i);
      if (close != std::string::npos) {
        ApplyTag(std::string_view(clean).substr(i + 1, close - i - 1), style);
        out += style.Sequence();
        i = close + 1;
        continue;
      }
    }
    if (clean[i] == '&') {
      const std::size_t semi = clean.find(';', i);
      if (semi != std::string::npos && semi - i <= 6) {
        out += DecodeEntity(std::string_view(clean).substr(i, semi - i + 1));
        i = semi + 1;
        continue;
      }
    }
    out.push_back(clean[i]);
    ++i;
  }
  return out + "\x1b[0m";
}

}  // namespace wavecrest
