// What the console writes to a terminal: colours that stay readable, NO_COLOR,
// and /state with every control character escaped.
#include "app/console/state_json.h"
#include "app/console/terminal_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace wavecrest {
namespace {

TEST(TerminalText, ColoursStayReadableOnTheTerminalsBackground) {
  using enum TerminalBackground;
  const TerminalPalette dark{ColourUse::kColours, kDark};
  const TerminalPalette light{ColourUse::kColours, kLight};
  const TerminalPalette none{ColourUse::kNoColours, kUnknown};
  const std::string own = "\x1b[39m";  // the terminal's own foreground
  const struct {
    const char* colour;
    TerminalPalette palette;
    std::string sequence;
  } cases[] = {
      {"000000", {}, own},
      {"000000", dark, own},
      {"303030", dark, own},
      {"0000ff", dark, "\x1b[38;2;0;0;255m"},
      {"ffffff", dark, "\x1b[38;2;255;255;255m"},
      {"ffffff", light, own},
      {"e0e0e0", light, own},
      {"000000", light, "\x1b[38;2;0;0;0m"},
      {"ff0000", none, ""},
      {"000000", none, ""},
  };
  for (const auto& c : cases) {
    const std::string html = std::string("<font color=#") + c.colour + ">x";
    EXPECT_EQ(RenderChatHtml(html, c.palette), "\x1b[0m" + c.sequence + "x\x1b[0m") << c.colour;
  }
}

TEST(TerminalText, ThePaletteFollowsTheEnvironment) {
  const struct {
    std::optional<std::string> noColour, colourFgBg;
    ColourUse use;
    TerminalBackground background;
  } cases[] = {
      {std::nullopt, std::nullopt, ColourUse::kColours, TerminalBackground::kUnknown},
      {"1", std::nullopt, ColourUse::kNoColours, TerminalBackground::kUnknown},
      {"", std::nullopt, ColourUse::kColours, TerminalBackground::kUnknown},
      {std::nullopt, "0;15", ColourUse::kColours, TerminalBackground::kLight},
      {std::nullopt, "15;0", ColourUse::kColours, TerminalBackground::kDark},
      {std::nullopt, "15;default;8", ColourUse::kColours, TerminalBackground::kDark},
      {"yes", "0;7", ColourUse::kNoColours, TerminalBackground::kLight},
      {std::nullopt, "0;x", ColourUse::kColours, TerminalBackground::kUnknown},
  };
  const auto set = [](const char* name, const std::optional<std::string>& value) {
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  };
  for (const auto& c : cases) {
    set("NO_COLOR", c.noColour);
    set("COLORFGBG", c.colourFgBg);
    const TerminalPalette palette = PaletteFromEnvironment();
    EXPECT_EQ(palette.use, c.use) << c.noColour.value_or("unset") << " " << c.colourFgBg.value_or("unset");
    EXPECT_EQ(palette.background, c.background) << c.colourFgBg.value_or("unset");
  }
  ::unsetenv("NO_COLOR");
  ::unsetenv("COLORFGBG");
}

TEST(JsonString, EveryControlCharacterIsEscaped) {
  const struct {
    std::string text;
    std::string json;
  } cases[] = {
      {"plain caf\xC3\xA9", "\"plain caf\xC3\xA9\""},
      {"q\"b\\", "\"q\\\"b\\\\\""},
      {"\x1b]0;x\x07\n", "\"\\u001b]0;x\\u0007\\n\""},
      {"del\x7f", "\"del\\u007f\""},
      {"c1 \xC2\x9B" "2J \xC2\x80 \xC2\xA0", "\"c1 \\u009b2J \\u0080 \xC2\xA0\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.json;
}

}  // namespace
}  // namespace wavecrest
