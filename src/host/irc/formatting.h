#pragma once

// IRC formatting codes and the state they leave the text in: what splitting,
// stripping and showing a line all read the same way.

#include <cstddef>
#include <string>
#include <string_view>

namespace wavecrest::irc {

inline constexpr char kBoldCode = '\x02';
inline constexpr char kColourCode = '\x03';
inline constexpr char kHexColourCode = '\x04';
inline constexpr char kResetCode = '\x0F';
inline constexpr char kMonospaceCode = '\x11';
inline constexpr char kReverseCode = '\x16';
inline constexpr char kItalicCode = '\x1D';
inline constexpr char kStrikeCode = '\x1E';
inline constexpr char kUnderlineCode = '\x1F';

// The codes that switch an attribute on and off, in the order they are
// written when a state is set afresh.
inline constexpr std::string_view kToggleCodes = "\x02\x1D\x1F\x16\x1E\x11";

struct FormatState {
  unsigned toggles = 0;                      // one bit per kToggleCodes entry
  int foreground = -1, background = -1;      // colour numbers, -1 none
  std::string hexForeground, hexBackground;  // "RRGGBB" from 0x04
  bool operator==(const FormatState&) const = default;

  bool Has(char toggleCode) const;
  void Flip(char toggleCode);
};

// The length of the formatting code at text[at], applied to `state`; 0 when
// the byte there begins no code.
std::size_t ReadCode(std::string_view text, std::size_t at, FormatState& state);

// The codes that give plain text `state`: the colour first, then the toggles.
std::string OpeningCodes(const FormatState& state);

// The length of the UTF-8 character at text[at] (1 for a byte that begins
// no valid character).
std::size_t Utf8Length(std::string_view text, std::size_t at);

}  // namespace wavecrest::irc
