// Reading IRC text: its visible characters, and the same line as chat HTML.
#include "host/irc/text.h"

#include "core/chat_html.h"
#include "core/control_characters.h"
#include "host/irc/colours.h"
#include "host/irc/formatting.h"

#include <optional>

namespace wavecrest::irc {

namespace {

// What the room window can show of a state.
struct Shown {
  bool bold = false, italic = false, underline = false;
  std::optional<std::uint32_t> colour;
  bool operator==(const Shown&) const = default;
};

Shown ShownOf(const FormatState& state) {
  Shown shown{state.Has(kBoldCode), state.Has(kItalicCode), state.Has(kUnderlineCode), std::nullopt};
  if (state.foreground >= 0 && state.foreground < kStandardColours) {
    shown.colour = kColourRgb[static_cast<std::size_t>(state.foreground)];
  } else if (!state.hexForeground.empty()) {
    shown.colour = ParseHexColour(state.hexForeground);
  }
  return shown;
}

std::string OpenTags(const Shown& shown) {
  std::string tags;
  if (shown.colour) tags += "<font color=\"" + HexColourText(*shown.colour) + "\">";
  if (shown.bold) tags += "<b>";
  if (shown.italic) tags += "<i>";
  if (shown.underline) tags += "<u>";
  return tags;
}

std::string CloseTags(const Shown& shown) {
  std::string tags;
  if (shown.underline) tags += "</u>";
  if (shown.italic) tags += "</i>";
  if (shown.bold) tags += "</b>";
  if (shown.colour) tags += "</font>";
  return tags;
}

void AppendEscaped(std::string& html, char c) {
  switch (c) {
    case '&': html += "&amp;"; break;
    case '<': html += "&lt;"; break;
    case '>': html += "&gt;"; break;
    case '"': html += "&quot;"; break;
    default: html += c;
  }
}

}  // namespace

std::string StripFormatting(std::string_view ircText) {
  std::string visible;
  FormatState state;
  for (std::size_t at = 0; at < ircText.size();) {
    const std::size_t code = ReadCode(ircText, at, state);
    if (code == 0) visible += ircText[at++];
    at += code;
  }
  return visible;
}

std::string IrcToChatHtml(std::string_view ircText) {
  std::string html;
  FormatState state;
  Shown shown;
  for (std::size_t at = 0; at < ircText.size();) {
    const std::size_t code = ReadCode(ircText, at, state);
    if (code > 0) {
      at += code;
      continue;
    }
    if (const std::size_t control = ControlLength(ircText, at)) {
      at += control;
      continue;
    }
    const char c = ircText[at++];
    const Shown wanted = ShownOf(state);
    if (wanted != shown) {
      html += CloseTags(shown) + OpenTags(wanted);
      shown = wanted;
    }
    AppendEscaped(html, c);
  }
  return html + CloseTags(shown);
}

}  // namespace wavecrest::irc
