#pragma once

// The one rule for control characters in text that came from outside (chat
// lines, file names, tags, the network) on its way out: to a terminal, a
// log, the desktop, the room window or an IRC server. Such text may hold
// characters that drive a terminal (ESC ]0;… retitles it, ESC [2J clears it,
// the C1 CSI does both), split a line a script or a server reads (CR, LF), or
// turn a chat line into something else (0x01 starts a CTCP request). A
// control character is a C0 control (U+0000 to U+001F, tab and line ends
// included), DEL (U+007F) or a C1 control (U+0080 to U+009F, C2 80 to C2 9F
// in UTF-8). Every output treats them one of the ways below.

#include <cstddef>
#include <string>
#include <string_view>

namespace wavecrest {

// The length in bytes of the control character at text[at]; 0 when the byte
// there begins none (a C1 control is two bytes).
std::size_t ControlLength(std::string_view text, std::size_t at);

// Shown, for diagnostics and the tools' listings: C0 controls and DEL as
// \xNN, C1 controls as \u00NN, and each byte that is not part of valid UTF-8
// as \xNN. Everything else, backslashes too, is kept as it is.
std::string EscapeControls(std::string_view text);

// Removed; every other byte is kept as it is, valid UTF-8 or not (a
// password, a nick on the wire).
std::string RemoveControls(std::string_view text);

// What a NUL is inside one line of chat. On IRC it would cut the line, as CR
// and LF would, so there it keeps the words on either side apart; in a tag
// field it is padding.
enum class NulInLine { kDropped, kSpace };

// One line of chat: CR, LF and tab become a space (and NUL, when asked), so
// that the words they separated stay apart; every other control is removed.
std::string PlainLine(std::string_view text, NulInLine nul = NulInLine::kDropped);

// Text for a person to read (a terminal, the desktop, the room window): read
// as UTF-8 when it is valid and as Windows-1252 otherwise, then every control
// character removed.
std::string WithoutControlCharacters(std::string_view text);

}  // namespace wavecrest
