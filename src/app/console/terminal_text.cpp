#include "app/console/terminal_text.h"

#include "core/chat_html.h"
#include "core/control_characters.h"
#include "core/text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace wavecrest {
namespace {

// Components at or below this are near-black; at or above 255 minus it, near-white.
constexpr int kNearEdge = 0x40;

std::string ColourCode(std::uint32_t rgb, const TerminalPalette& palette) {
  if (palette.use == ColourUse::kNoColours) return "";
  const int r = static_cast<int>((rgb >> 16) & 0xFF), g = static_cast<int>((rgb >> 8) & 0xFF),
            b = static_cast<int>(rgb & 0xFF);
  const bool nearBlack = std::max({r, g, b}) <= kNearEdge;
  const bool nearWhite = std::min({r, g, b}) >= 0xFF - kNearEdge;
  const bool light = palette.background == TerminalBackground::kLight;
  if (light ? nearWhite : nearBlack) return "\x1b[39m";  // the terminal's own foreground
  char code[32];
  std::snprintf(code, sizeof code, "\x1b[38;2;%d;%d;%dm", r, g, b);
  return code;
}

// The terminal's side of a look: the face is not shown.
struct Shown {
  bool bold = false, italic = false, underline = false;
  std::optional<std::uint32_t> colour;
  bool operator==(const Shown&) const = default;
};

Shown ShownOf(const Look& look) { return Shown{look.bold, look.italic, look.underline, look.colour}; }

// The sequence that sets a look afresh.
std::string Sequence(const Shown& shown, const TerminalPalette& palette) {
  std::string s = "\x1b[0m";
  if (shown.bold) s += "\x1b[1m";
  if (shown.italic) s += "\x1b[3m";
  if (shown.underline) s += "\x1b[4m";
  if (shown.colour) s += ColourCode(*shown.colour, palette);
  return s;
}

}  // namespace

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
  const StyledText styled = ReadChatHtml(ToUtf8(html));
  std::string out;
  Shown written;
  for (const StyledRun& run : styled.runs) {
    const std::string text = RemoveControls(run.text);
    if (text.empty()) continue;
    const Shown wanted = ShownOf(run.look);
    if (wanted != written) out += Sequence(wanted, palette);
    written = wanted;
    out += text;
  }
  if (ShownOf(styled.end) != written) out += Sequence(ShownOf(styled.end), palette);
  return out + "\x1b[0m";
}

}  // namespace wavecrest
