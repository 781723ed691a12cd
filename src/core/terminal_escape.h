#pragma once

// The one rule for text shown on a terminal that came from outside: file
// names, tags, chat text in diagnostics. Such text may hold control
// characters that would drive the terminal (ESC ]0;… retitles it, ESC [2J
// clears it) or split a line that a script reads; shown escaped, they are
// seen and do nothing.

#include <string>
#include <string_view>

namespace wavecrest {

// `text` with C0 controls (tab and line ends included) and DEL as \xNN, C1
// controls (U+0080…U+009F) as \u00NN and each byte that is not part of valid
// UTF-8 as \xNN. Everything else, backslashes too, is kept as it is.
std::string EscapeControls(std::string_view text);

}  // namespace wavecrest
