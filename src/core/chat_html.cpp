#include "core/chat_html.h"

#include "core/html_entities.h"

#include <algorithm>

namespace wavecrest {
namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

int HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
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

// The value of attribute `wanted` (lower case) in a tag's attribute text:
// name=value, name="value" or name='value', in any order; nothing when the
// tag does not give it.
std::optional<std::string_view> Attribute(std::string_view attributes, std::string_view wanted) {
  std::size_t at = 0;
  const auto skipSpaces = [&] {
    while (at < attributes.size() && IsSpace(attributes[at])) ++at;
  };
  while (true) {
    skipSpaces();
    if (at >= attributes.size()) return std::nullopt;
    const std::size_t nameStart = at;
    while (at < attributes.size() && attributes[at] != '=' && !IsSpace(attributes[at])) ++at;
    const std::string name = AsciiLower(attributes.substr(nameStart, at - nameStart));
    skipSpaces();
    std::string_view value;
    if (at < attributes.size() && attributes[at] == '=') {
      ++at;
      skipSpaces();
      const char quote = at < attributes.size() ? attributes[at] : '\0';
      const bool quoted = quote == '"' || quote == '\'';
      const std::size_t valueStart = quoted ? at + 1 : at;
      std::size_t valueEnd = valueStart;
      const auto inValue = [&](char c) { return quoted ? c != quote : !IsSpace(c); };
      while (valueEnd < attributes.size() && inValue(attributes[valueEnd])) ++valueEnd;
      value = attributes.substr(valueStart, valueEnd - valueStart);
      at = valueEnd + (quoted && valueEnd < attributes.size() ? 1 : 0);
    }
    if (name == wanted) return value;
  }
}

class Reader {
 public:
  StyledText Read(std::string_view html);

 private:
  void OnTag(std::string_view tag);
  void OnText(std::string_view text);
  Look Current() const;

  int bold_ = 0, italic_ = 0, underline_ = 0;
  std::vector<Look> fonts_;  // the colour and face each open <font> gives
  StyledText read_;
};

Look Reader::Current() const {
  Look look = fonts_.empty() ? Look{} : fonts_.back();
  look.bold = bold_ > 0;
  look.italic = italic_ > 0;
  look.underline = underline_ > 0;
  return look;
}

void Reader::OnTag(std::string_view tag) {
  const bool closing = !tag.empty() && tag.front() == '/';
  if (closing) tag.remove_prefix(1);
  std::size_t nameEnd = 0;
  while (nameEnd < tag.size() && (IsLetter(tag[nameEnd]) || IsDigit(tag[nameEnd]))) ++nameEnd;
  const std::string name = AsciiLower(tag.substr(0, nameEnd));
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
  const std::string_view attributes = tag.substr(nameEnd);
  Look font = fonts_.empty() ? Look{} : fonts_.back();
  const std::optional<std::string_view> colour = Attribute(attributes, "color");
  if (const auto rgb = colour ? ParseHexColour(*colour) : std::nullopt) font.colour = rgb;
  const std::optional<std::string_view> face = Attribute(attributes, "face");
  if (face && !face->empty()) font.face = std::string(*face);
  fonts_.push_back(std::move(font));
}

void Reader::OnText(std::string_view text) {
  if (text.empty()) return;
  const Look look = Current();
  if (!read_.runs.empty() && read_.runs.back().look == look) {
    read_.runs.back().text.append(text);
    return;
  }
  read_.runs.push_back(StyledRun{look, std::string(text)});
}

StyledText Reader::Read(std::string_view html) {
  std::string decoded;
  for (std::size_t at = 0; at < html.size();) {
    if (html[at] == '<') {
      if (const std::size_t end = TagEnd(html, at); end != std::string_view::npos) {
        OnTag(html.substr(at + 1, end - at - 1));
        at = end + 1;
        continue;
      }
    }
    // Text up to the next tag or reference, as one piece.
    const std::size_t entity = html[at] == '&' ? DecodeEntity(html, at, decoded) : 0;
    if (entity > 0) {
      OnText(decoded);
      decoded.clear();
      at += entity;
      continue;
    }
    std::size_t next = html.find_first_of("<&", at + 1);
    if (next == std::string_view::npos) next = html.size();
    OnText(html.substr(at, next - at));
    at = next;
  }
  read_.end = Current();
  return std::move(read_);
}

}  // namespace

StyledText ReadChatHtml(std::string_view html) { return Reader().Read(html); }

std::optional<std::uint32_t> ParseHexColour(std::string_view text) {
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() != 6) return std::nullopt;
  std::uint32_t rgb = 0;
  for (const char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
  }
  return rgb;
}

}  // namespace wavecrest
