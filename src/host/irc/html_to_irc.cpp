// The room's chat HTML as IRC text.
#include "host/irc/text.h"

#include "core/chat_html.h"
#include "host/irc/colours.h"
#include "host/irc/formatting.h"

namespace wavecrest::irc {

namespace {

constexpr int kNoColour = -1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The room's default text colour is black, which most terminal IRC users
// would see as nothing on their dark screens: black and what is nearest to
// it are left to the reader's own colour.
int ReadableColour(std::uint32_t rgb) {
  constexpr int kBlack = 1;
  const int nearest = NearestColour(rgb);
  return nearest == kBlack ? kNoColour : nearest;
}

std::string TwoDigits(int value) { return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)}; }

struct IrcLook {
  bool bold = false, italic = false, underline = false;
  int colour = kNoColour;
  bool operator==(const IrcLook&) const = default;
};

std::string ColourCode(int colour) {
  return colour == kNoColour ? std::string(1, kColourCode) : kColourCode + TwoDigits(colour);
}

std::string Toggles(const IrcLook& from, const IrcLook& to) {
  std::string codes;
  if (from.bold != to.bold) codes += kBoldCode;
  if (from.italic != to.italic) codes += kItalicCode;
  if (from.underline != to.underline) codes += kUnderlineCode;
  return codes;
}

// The shortest codes that turn `from` into `to` before `next` (the first
// byte of the text that follows, '\0' for none) without changing how it
// reads: a bare colour code before a digit would take the digit, a colour
// before a comma would take ",digits" as a background.
std::string Transition(const IrcLook& from, const IrcLook& to, char next) {
  std::string toggle = (from.colour != to.colour ? ColourCode(to.colour) : std::string()) + Toggles(from, to);
  const bool turnsOff = (from.bold && !to.bold) || (from.italic && !to.italic) ||
                        (from.underline && !to.underline) || (from.colour != kNoColour && to.colour == kNoColour);
  std::string reset =
      kResetCode + (to.colour != kNoColour ? ColourCode(to.colour) : std::string()) + Toggles(IrcLook{}, to);
  if (IsDigit(next) && toggle.size() == 1 && toggle.front() == kColourCode) toggle = reset;
  std::string codes = turnsOff && reset.size() < toggle.size() ? reset : toggle;
  const std::size_t size = codes.size();
  const bool endsWithColour = size >= 3 && codes[size - 3] == kColourCode && IsDigit(codes[size - 1]);
  if (next == ',' && endsWithColour) codes += "\x02\x02";
  return codes;
}

// What IRC can show of a run's look: the face has no code, and a colour is
// the nearest readable standard one.
IrcLook IrcLookOf(const Look& look) {
  return IrcLook{look.bold, look.italic, look.underline, look.colour ? ReadableColour(*look.colour) : kNoColour};
}

}  // namespace

std::string ChatHtmlToIrc(std::string_view html) {
  const StyledText styled = ReadChatHtml(html);
  std::string irc;
  IrcLook written;
  for (const StyledRun& run : styled.runs) {
    const std::string text = PlainLine(run.text, NulInLine::kSpace);
    if (text.empty()) continue;
    const IrcLook wanted = IrcLookOf(run.look);
    if (wanted != written) irc += Transition(written, wanted, text.front());
    written = wanted;
    irc += text;
  }
  const IrcLook end = IrcLookOf(styled.end);
  if (end != written) irc += Transition(written, end, '\0');
  return irc;
}

}  // namespace wavecrest::irc
