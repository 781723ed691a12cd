#pragma once

// How the console shows a line of the room on a terminal.

#include <string>
#include <string_view>

namespace wavecrest {

// The text with every control character removed (C0, DEL and C1), so that
// nobody in the room can drive the terminal through a chat line.
std::string WithoutControlCharacters(std::string_view text);

// A chat line's HTML as terminal text: bold, italic and underline become
// terminal styles, a font colour becomes a 24-bit colour, other tags are
// dropped and the common entities decoded. Control characters never pass.
std::string RenderChatHtml(std::string_view html);

}  // namespace wavecrest
