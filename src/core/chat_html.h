#pragma once

// The one reader of the room's chat HTML: every output that shows a reply
// (IRC, the console, the room window) reads it here, so a line looks the
// same in each and hostile markup means the same nothing to all of them.
//
// The reader knows what the system's replies are made of: <b>, <i>, <u> and
// <font color=… face=…>, their closers, and the character references of
// DecodeEntity. A tag begins with '<' and a letter (or '!', or '/' and a
// letter) and ends at the first '>' outside quotes; a '<' that begins no tag,
// or one whose tag never ends, is text. Other tags and attributes are read
// and dropped. Nested bold, italic and underline count their openers; each
// <font> is pushed on a stack and </font> pops it, so the enclosing colour
// and face come back. A colour is "#rrggbb" or "rrggbb"; a font without a
// usable colour or face keeps the enclosing one.
//
// Control characters are passed on in the text as they are: what each output
// does with them is the one rule of core/control_characters.h.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest {

struct Look {
  bool bold = false, italic = false, underline = false;
  std::optional<std::uint32_t> colour;  // 0xRRGGBB; none outside every coloured <font>
  std::string face;                     // the font face; empty outside every <font face>
  bool operator==(const Look&) const = default;
};

struct StyledRun {
  Look look;
  std::string text;  // references decoded
  bool operator==(const StyledRun&) const = default;
};

struct StyledText {
  std::vector<StyledRun> runs;  // none empty; neighbours differ in look
  Look end;                     // the look the tags leave in force after the last run
  bool operator==(const StyledText&) const = default;
};

StyledText ReadChatHtml(std::string_view html);

// "#rrggbb" or "rrggbb" (any case) as 0xRRGGBB; nothing for anything else.
std::optional<std::uint32_t> ParseHexColour(std::string_view text);

}  // namespace wavecrest
