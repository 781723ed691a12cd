#pragma once

// How the console shows a line of the room on a terminal.

#include <string>
#include <string_view>

namespace wavecrest {

// The text with every control character removed (C0, DEL and C1), so that
// nobody in the room can drive the terminal through a chat line.
std::string WithoutControlCharacters(std::string_view text);

enum class ColourUse { kColours, kNoColours };
enum class TerminalBackground { kUnknown, kDark, kLight };

// What the terminal lets colours do.
struct TerminalPalette {
  ColourUse use = ColourUse::kColours;
  TerminalBackground background = TerminalBackground::kUnknown;
};

// The palette the environment asks for: no colours when NO_COLOR is set and
// not empty; the background from COLORFGBG ("foreground;background" colour
// numbers), when the terminal reports it.
TerminalPalette PaletteFromEnvironment();

// A chat line's HTML as terminal text: bold, italic and underline become
// terminal styles, a font colour becomes a 24-bit colour, other tags are
// dropped and the common entities decoded. Control characters never pass.
// Black and near-black text (the system's default colour) would vanish on a
// dark terminal, and near-white on a light one: those are shown in the
// terminal's own foreground colour (an unknown background counts as dark).
// With kNoColours no colour sequence is written at all.
std::string RenderChatHtml(std::string_view html, const TerminalPalette& palette = {});

}  // namespace wavecrest
