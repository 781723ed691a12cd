#include "host/irc/message.h"

#include <algorithm>
#include <cctype>

namespace wavecrest::irc {

namespace {

bool IsLineBreakOrNul(char c) { return c == '\r' || c == '\n' || c == '\0'; }

std::string WithoutLineBreaks(std::string_view text) {
  std::string clean;
  clean.reserve(text.size());
  for (const char c : text) {
    if (!IsLineBreakOrNul(c)) clean += c;
  }
  return clean;
}

// The next space-separated word, leaving `rest` after it and its spaces.
std::string_view TakeWord(std::string_view& rest) {
  const std::size_t end = std::min(rest.find(' '), rest.size());
  const std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return word;
}

// A tag value as sent: "\:" is ';', "\s" a space, "\\" a backslash, "\r" and
// "\n" CR and LF; a backslash before anything else stands for that
// character, and one at the end for nothing.
std::string UnescapeTagValue(std::string_view value) {
  std::string plain;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      plain += value[i];
      continue;
    }
    if (++i == value.size()) break;
    switch (value[i]) {
      case ':': plain += ';'; break;
      case 's': plain += ' '; break;
      case 'r': plain += '\r'; break;
      case 'n': plain += '\n'; break;
      default: plain += value[i];
    }
  }
  return plain;
}

void ParseTags(std::string_view text, Message& message) {
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(';'), text.size());
    const std::string_view tag = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t equals = std::min(tag.find('='), tag.size());
    const std::string_view key = tag.substr(0, equals);
    if (key.empty()) continue;
    message.tags.emplace_back(std::string(key), UnescapeTagValue(tag.substr(std::min(equals + 1, tag.size()))));
  }
}

Prefix ParsePrefix(std::string_view text) {
  Prefix prefix;
  const std::size_t at = text.find('@');
  if (at != std::string_view::npos) {
    prefix.host = std::string(text.substr(at + 1));
    text = text.substr(0, at);
  }
  const std::size_t bang = text.find('!');
  if (bang != std::string_view::npos) {
    prefix.user = std::string(text.substr(bang + 1));
    text = text.substr(0, bang);
  }
  prefix.nick = std::string(text);
  return prefix;
}

bool IsValidCommand(std::string_view command) {
  if (command.empty()) return false;
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (command.size() == 3 && std::all_of(command.begin(), command.end(), isDigit)) return true;
  return std::all_of(command.begin(), command.end(), isLetter);
}

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

std::string MiddleParam(std::string_view param) {
  std::string clean;
  for (const char c : param) {
    if (IsLineBreakOrNul(c) || c == ' ') continue;
    if (clean.empty() && c == ':') continue;
    clean += c;
  }
  return clean.empty() ? std::string("*") : clean;
}

}  // namespace

std::optional<std::string> Message::Tag(std::string_view key) const {
  // A key given twice counts with its last value.
  for (auto it = tags.rbegin(); it != tags.rend(); ++it) {
    if (it->first == key) return it->second;
  }
  return std::nullopt;
}

std::optional<Message> ParseLine(std::string_view line) {
  if (std::any_of(line.begin(), line.end(), IsLineBreakOrNul)) return std::nullopt;
  std::string_view rest = line;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  Message message;
  if (!rest.empty() && rest.front() == '@') ParseTags(TakeWord(rest).substr(1), message);
  if (!rest.empty() && rest.front() == ':') {
    const std::string_view prefix = TakeWord(rest).substr(1);
    if (prefix.empty()) return std::nullopt;
    message.prefix = ParsePrefix(prefix);
  }
  const std::string_view command = TakeWord(rest);
  if (!IsValidCommand(command)) return std::nullopt;
  message.command = Upper(command);
  while (!rest.empty()) {
    if (rest.front() == ':') {
      message.params.emplace_back(rest.substr(1));
      break;
    }
    message.params.emplace_back(TakeWord(rest));
  }
  return message;
}

std::string FormatLine(std::string_view command, const std::vector<std::string>& params) {
  std::string line = MiddleParam(command);
  for (std::size_t i = 0; i < params.size(); ++i) {
    line += ' ';
    if (i + 1 < params.size()) {
      line += MiddleParam(params[i]);
      continue;
    }
    const std::string last = WithoutLineBreaks(params[i]);
    if (last.empty() || last.front() == ':' || last.find(' ') != std::string::npos) line += ':';
    line += last;
  }
  return line;
}

}  // namespace wavecrest::irc
