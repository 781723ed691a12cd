#pragma once

// Text between the room's chat HTML and IRC's formatting codes. The HTML is
// read by the system's one reader (core/chat_html.h); control characters
// follow its one rule (RemoveControls and the others of
// core/control_characters.h).

#include "core/control_characters.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::irc {

// The room's chat HTML as IRC text: <b> <i> <u> and their closers become the
// toggles 0x02 0x1D 0x1F (or the reset 0x0F where that is shorter);
// <font color=#rrggbb> (quoted or not, any attribute order) becomes 0x03 and
// the nearest of the 16 standard colours, always two digits, except that
// black and near-black (nearest to colour 01) give no colour at all, so the
// reader's own colour shows; </font> restores the enclosing colour. Other attributes and other tags are dropped;
// &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references are decoded; a
// colour that is not six hex digits gives no colour code. CR, LF, NUL and
// tab become a space; other control characters in the text are dropped (a
// 0x01 from a file name must not turn the line into a CTCP request).
std::string ChatHtmlToIrc(std::string_view html);

// Splits IRC text into pieces of at most maxBytes bytes (at least 8 is
// assumed), at a space where there is one and never inside a UTF-8 character
// or a formatting code; each later piece starts with the formatting (bold,
// italic, underline, colour) in force where the previous one ended. A text
// within the limit is one piece.
std::vector<std::string> SplitIrcText(std::string_view ircText, std::size_t maxBytes);

// The visible text: every formatting code (02, 03 with its colour digits,
// 04 with its hex colours, 0F 11 16 1D 1E 1F) removed.
std::string StripFormatting(std::string_view ircText);

// IRC text as chat HTML, for showing a line styled in the room window: bold
// <b>, italic <i>, underline <u>, colour <font color="#rrggbb">; the text is
// HTML-escaped and control characters are dropped.
std::string IrcToChatHtml(std::string_view ircText);

}  // namespace wavecrest::irc
