#include "app/console/terminal_text.h"

#include "core/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
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

// Components at or below this are near-black; at or above 255 minus it, near-white.
constexpr int kNearEdge = 0x40;

std::string ColourCode(std::string_view hex, const TerminalPalette& palette) {
  if (palette.use == ColourUse::kNoColours) return "";
  const int rgb = std::stoi(std::string(hex), nullptr, 16);
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  const bool nearBlack = std::max({r, g, b}) <= kNearEdge;
  const bool nearWhite = std::min({r, g, b}) >= 0xFF - kNearEdge;
  const bool light = palette.background == TerminalBackground::kLight;
  if (light ? nearWhite : nearBlack) return "\x1b[39m";  // the terminal's own foreground
  char code[32];
  std::snprintf(code, sizeof code, "\x1b[38;2;%d;%d;%dm", r, g, b);
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
void ApplyTag(std::string_view tag, const TerminalPalette& palette, Style& style) {
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
    if (IsHexColour(value)) style.colour = ColourCode(value, palette);
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

TerminalPalette PaletteFromEnvironment() {
  TerminalPalette palette;
  if (const char* noColour = std::getenv("NO_COLOR"); noColour != nullptr && *noColour != '\0') {
    palette.use = ColourUse::kNoColours;
  }
  // COLORFGBG ends in the background's colour number: 7 (white) and 9-15
  // (the bright ones, but for 8, dark grey) are light.
  if (const char* fgbg = std::getenv("COLORFGBG"); fgbg != nullptr) {
    const std::string_view value(fgbg);
    const std::string_view last = value.substr(value.rfind(';') == std::string_view::npos ? 0 : value.rfind(';') + 1);
    int number = -1;
    const auto [end, ec] = std::from_chars(last.data(), last.data() + last.size(), number);
    if (ec == std::errc() && end == last.data() + last.size() && number >= 0 && number <= 15) {
      palette.background = number == 7 || number >= 9 ? TerminalBackground::kLight : TerminalBackground::kDark;
    }
  }
  return palette;
}

std::string RenderChatHtml(std::string_view html, const TerminalPalette& palette) {
  const std::string clean = WithoutControlCharacters(html);
  std::string out;
  Style style;
  std::size_t i = 0;
  while (i < clean.size()) {
    if (clean[i] == '<') {
      const std::size_t close = clean.find('>', i);
      if (close != std::string::npos) {
        ApplyTag(std::string_view(clean).substr(i + 1, close - i - 1), palette, style);
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
