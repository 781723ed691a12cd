#include "host/irc/formatting.h"

namespace wavecrest::irc {

namespace {

bool IsDigit(std::string_view text, std::size_t at) {
  return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsHexColour(std::string_view text, std::size_t at) {
  if (at + 6 > text.size()) return false;
  for (std::size_t i = at; i < at + 6; ++i) {
    if (!IsHex(text[i])) return false;
  }
  return true;
}

// One or two digits at text[at]: their value, `at` moved past them.
int ReadNumber(std::string_view text, std::size_t& at) {
  int value = text[at++] - '0';
  if (IsDigit(text, at)) value = value * 10 + (text[at++] - '0');
  return value;
}

void ClearColours(FormatState& state) {
  state.foreground = state.background = -1;
  state.hexForeground.clear();
  state.hexBackground.clear();
}

std::size_t ReadColour(std::string_view text, std::size_t at, FormatState& state) {
  std::size_t end = at + 1;
  if (!IsDigit(text, end)) {
    ClearColours(state);
    return 1;
  }
  state.hexForeground.clear();
  state.hexBackground.clear();
  state.foreground = ReadNumber(text, end);
  if (end < text.size() && text[end] == ',' && IsDigit(text, end + 1)) {
    ++end;
    state.background = ReadNumber(text, end);
  }
  return end - at;
}

std::size_t ReadHexColour(std::string_view text, std::size_t at, FormatState& state) {
  std::size_t end = at + 1;
  if (!IsHexColour(text, end)) {
    ClearColours(state);
    return 1;
  }
  state.foreground = state.background = -1;
  state.hexForeground = std::string(text.substr(end, 6));
  end += 6;
  if (end < text.size() && text[end] == ',' && IsHexColour(text, end + 1)) {
    state.hexBackground = std::string(text.substr(end + 1, 6));
    end += 7;
  }
  return end - at;
}

std::string TwoDigits(int value) {
  return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

bool FormatState::Has(char toggleCode) const {
  const std::size_t bit = kToggleCodes.find(toggleCode);
  return bit != std::string_view::npos && (toggles & (1u << bit)) != 0;
}

void FormatState::Flip(char toggleCode) {
  const std::size_t bit = kToggleCodes.find(toggleCode);
  if (bit != std::string_view::npos) toggles ^= 1u << bit;
}

std::size_t ReadCode(std::string_view text, std::size_t at, FormatState& state) {
  const char c = text[at];
  if (c == kColourCode) return ReadColour(text, at, state);
  if (c == kHexColourCode) return ReadHexColour(text, at, state);
  if (c == kResetCode) {
    state = FormatState{};
    return 1;
  }
  if (c != '\0' && kToggleCodes.find(c) != std::string_view::npos) {
    state.Flip(c);
    return 1;
  }
  return 0;
}

std::string OpeningCodes(const FormatState& state) {
  std::string codes;
  if (state.foreground >= 0) {
    codes += kColourCode + TwoDigits(state.foreground);
    if (state.background >= 0) codes += "," + TwoDigits(state.background);
  } else if (!state.hexForeground.empty()) {
    codes += kHexColourCode + state.hexForeground;
    if (!state.hexBackground.empty()) codes += "," + state.hexBackground;
  }
  for (const char code : kToggleCodes) {
    if (state.Has(code)) codes += code;
  }
  return codes;
}

std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  if (at + length > text.size()) return 1;
  for (std::size_t i = at + 1; i < at + length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace wavecrest::irc
