#pragma once

// How the console shows a line of the room on a terminal.

#include <string>
#include <string_view>

namespace wavecrest {

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

// A chat line's HTML, read by the system's one reader (core/chat_html.h), as
// terminal text: bold, italic and underline become terminal styles, a font
// colour becomes a 24-bit colour; the text is read as UTF-8 (Windows-1252
// when it is not) and no control character passes.
// Black and near-black text (the system's default colour) would vanish on a
// dark terminal, and near-white on a light one: those are shown in the
// terminal's own foreground colour (an unknown background counts as dark).
// With kNoColours no colour sequence is written at all.
std::string RenderChatHtml(std::string_view html, const TerminalPalette& palette = {});

}  // namespace wavecrest
