// The room's chat HTML as IRC text.
#include "host/irc/text.h"

#include "host/irc/colours.h"
#include "host/irc/formatting.h"
#include "host/irc/html_entities.h"

#include <cctype>
#include <optional>

namespace wavecrest::irc {

namespace {

constexpr int kNoColour = -1;

bool IsLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Where the tag that opens at html[at] ends ('>'), quotes respected; npos
// when html[at] opens no tag.
std::size_t TagEnd(std::string_view html, std::size_t at) {
  const std::size_t first = at + 1;
  if (first >= html.size()) return std::string_view::npos;
  const char c = html[first];
  const bool opensTag = IsLetter(c) || c == '!' || (c == '/' && first + 1 < html.size() && IsLetter(html[first + 1]));
  if (!opensTag) return std::string_view::npos;
  char quote = 0;
  for (std::size_t i = first; i < html.size(); ++i) {
    if (quote != 0) {
      if (html[i] == quote) quote = 0;
    } else if (html[i] == '"' || html[i] == '\'') {
      quote = html[i];
    } else if (html[i] == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

// The value of attribute `wanted` in a tag's attribute text, if present.
std::optional<std::string_view> Attribute(std::string_view attributes, std::string_view wanted) {
  std::size_t at = 0;
  const auto skipSpaces = [&] {
    while (at < attributes.size() && std::isspace(static_cast<unsigned char>(attributes[at])) != 0) ++at;
  };
  while (true) {
    skipSpaces();
    if (at >= attributes.size()) return std::nullopt;
    const std::size_t nameStart = at;
    while (at < attributes.size() && attributes[at] != '=' && std::isspace(static_cast<unsigned char>(attributes[at])) == 0) ++at;
    const std::string name = Lower(attributes.substr(nameStart, at - nameStart));
    skipSpaces();
    std::string_view value;
    if (at < attributes.size() && attributes[at] == '=') {
      ++at;
      skipSpaces();
      const char quote = at < attributes.size() ? attributes[at] : '\0';
      const bool quoted = quote == '"' || quote == '\'';
      const std::size_t valueStart = quoted ? at + 1 : at;
      std::size_t valueEnd = valueStart;
      while (valueEnd < attributes.size() &&
             (quoted ? attributes[valueEnd] != quote : std::isspace(static_cast<unsigned char>(attributes[valueEnd])) == 0)) ++valueEnd;
      value = attributes.substr(valueStart, valueEnd - valueStart);
      at = valueEnd + (quoted && valueEnd < attributes.size() ? 1 : 0);
    }
    if (name == wanted) return value;
  }
}

// The room's default text colour is black, which most terminal IRC users
// would see as nothing on their dark screens: black and what is nearest to
// it are left to the reader's own colour.
int ReadableColour(std::uint32_t rgb) {
  constexpr int kBlack = 1;
  const int nearest = NearestColour(rgb);
  return nearest == kBlack ? kNoColour : nearest;
}

std::string TwoDigits(int value) { return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)}; }

struct Look {
  bool bold = false, italic = false, underline = false;
  int colour = kNoColour;
  bool operator==(const Look&) const = default;
};

std::string ColourCode(int colour) {
  return colour == kNoColour ? std::string(1, kColourCode) : kColourCode + TwoDigits(colour);
}

std::string Toggles(const Look& from, const Look& to) {
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
std::string Transition(const Look& from, const Look& to, char next) {
  std::string toggle = (from.colour != to.colour ? ColourCode(to.colour) : std::string()) + Toggles(from, to);
  const bool turnsOff = (from.bold && !to.bold) || (from.italic && !to.italic) ||
                        (from.underline && !to.underline) || (from.colour != kNoColour && to.colour == kNoColour);
  std::string reset = kResetCode + (to.colour != kNoColour ? ColourCode(to.colour) : std::string()) + Toggles(Look{}, to);
  if (IsDigit(next) && toggle.size() == 1 && toggle.front() == kColourCode) toggle = reset;
  std::string codes = turnsOff && reset.size() < toggle.size() ? reset : toggle;
  const std::size_t size = codes.size();
  const bool endsWithColour = size >= 3 && codes[size - 3] == kColourCode && IsDigit(codes[size - 1]);
  if (next == ',' && endsWithColour) codes += "\x02\x02";
  return codes;
}

class Translator {
 public:
  std::string Run(std::string_view html);

 private:
  void OnTag(std::string_view tag);
  void OnText(char c);
  Look Wanted() const;

  int bold_ = 0, italic_ = 0, underline_ = 0;
  std::vector<int> fonts_;  // the colour of each open <font>
  Look written_;
  std::string out_;
};

Look Translator::Wanted() const {
  return Look{bold_ > 0, italic_ > 0, underline_ > 0, fonts_.empty() ? kNoColour : fonts_.back()};
}

void Translator::OnTag(std::string_view tag) {
  const bool closing = !tag.empty() && tag.front() == '/';
  if (closing) tag.remove_prefix(1);
  std::size_t nameEnd = 0;
  while (nameEnd < tag.size() && (IsLetter(tag[nameEnd]) || IsDigit(tag[nameEnd]))) ++nameEnd;
  const std::string name = Lower(tag.substr(0, nameEnd));
  int* depth = name == "b" ? &bold_ : name == "i" ? &italic_ : name == "u" ? &underline_ : nullptr;
  if (depth != nullptr) {
    *depth = closing ? std::max(0, *depth - 1) : *depth + 1;
    return;
  }
  if (name != "font") return;
  if (closing) {
    if (!fonts_.empty()) fonts_.pop_back();
    return;
  }
  const std::optional<std::string_view> colour = Attribute(tag.substr(nameEnd), "color");
  const std::optional<std::uint32_t> rgb = colour ? ParseHexColour(*colour) : std::nullopt;
  fonts_.push_back(rgb ? ReadableColour(*rgb) : Wanted().colour);
}

void Translator::OnText(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (c == '\r' || c == '\n' || c == '\0' || c == '\t') c = ' ';
  else if (byte < 0x20 || byte == 0x7F) return;
  const Look wanted = Wanted();
  if (wanted != written_) out_ += Transition(written_, wanted, c);
  written_ = wanted;
  out_ += c;
}

std::string Translator::Run(std::string_view html) {
  for (std::size_t at = 0; at < html.size();) {
    if (html[at] == '<') {
      const std::size_t end = TagEnd(html, at);
      if (end != std::string_view::npos) {
        OnTag(html.substr(at + 1, end - at - 1));
        at = end + 1;
        continue;
      }
    }
    std::string decoded;
    const std::size_t entity = html[at] == '&' ? DecodeEntity(html, at, decoded) : 0;
    if (entity == 0) decoded = html[at];
    at += entity > 0 ? entity : 1;
    for (const char c : decoded) OnText(c);
  }
  if (Wanted() != written_) out_ += Transition(written_, Wanted(), '\0');
  return out_;
}

}  // namespace

std::string ChatHtmlToIrc(std::string_view html) { return Translator().Run(html); }

}  // namespace wavecrest::irc
