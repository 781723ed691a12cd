// The room's chat HTML translated for IRC and split to a limit chosen by the
// first byte: every piece fits, no CR, LF or NUL, valid UTF-8 when the input
// is, and no visible character lost or doubled, from what the system's one
// reader read to the last piece.
#include "core/chat_html.h"
#include "host/irc/text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace wavecrest::irc;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

bool HoldsLineBreak(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) length = 1, code = lead;
    else if (lead >= 0xC2 && lead <= 0xDF) length = 2, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, code = lead & 0x07;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

// What the reader read, as IRC shows it: runs that are never empty and
// always differ from their neighbours, made one line each.
std::string ReadAsOneLine(std::string_view html, bool validInput) {
  const wavecrest::StyledText read = wavecrest::ReadChatHtml(html);
  std::string line;
  for (std::size_t i = 0; i < read.runs.size(); ++i) {
    const wavecrest::StyledRun& run = read.runs[i];
    Require(!run.text.empty());
    Require(i == 0 || !(read.runs[i - 1].look == run.look));
    Require(!validInput || IsValidUtf8(run.text));
    line += wavecrest::PlainLine(run.text, wavecrest::NulInLine::kSpace);
  }
  return line;
}

std::string VisibleWithoutSpaces(std::string_view ircText) {
  std::string visible = StripFormatting(ircText);
  std::erase(visible, ' ');
  return visible;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t limit = 8 + static_cast<std::size_t>(data[0]) * 2;
  const std::string_view html(reinterpret_cast<const char*>(data) + 1, size - 1);
  const bool validInput = IsValidUtf8(html);
  const std::string irc = ChatHtmlToIrc(html);
  Require(StripFormatting(irc) == ReadAsOneLine(html, validInput));
  Require(!HoldsLineBreak(irc));
  Require(!validInput || IsValidUtf8(irc));
  std::string joined;
  for (const std::string& piece : SplitIrcText(irc, limit)) {
    Require(piece.size() <= limit);
    Require(!HoldsLineBreak(piece));
    Require(!validInput || IsValidUtf8(piece));
    joined += VisibleWithoutSpaces(piece);
  }
  Require(joined == VisibleWithoutSpaces(irc));
  const std::string shown = IrcToChatHtml(irc);
  Require(!validInput || IsValidUtf8(shown));
  for (const char c : shown) Require(static_cast<unsigned char>(c) >= 0x20 && c != '\x7F');
  return 0;
}
