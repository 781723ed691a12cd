#pragma once

// IRC protocol lines: parsing what the server sends and formatting what the
// client sends. A formatted line can never carry a second command: CR, LF
// and NUL are removed from every parameter.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wavecrest::irc {

// "nick!user@host"; for a server prefix nick holds the server's name.
struct Prefix {
  std::string nick, user, host;
  bool operator==(const Prefix&) const = default;
};

struct Message {
  // IRCv3 message tags, key and unescaped value, in the order given.
  std::vector<std::pair<std::string, std::string>> tags;
  Prefix prefix;                     // empty when the line had none
  std::string command;               // upper-cased; numerics as the three digits
  std::vector<std::string> params;   // the trailing parameter is the last one
  bool operator==(const Message&) const = default;

  // The value of tag `key` (the last, when given twice); nullopt when the
  // line does not carry it.
  std::optional<std::string> Tag(std::string_view key) const;
};

// One line, its line end already removed. nullopt when the line is empty,
// has no valid command (letters, or exactly three digits), or holds CR, LF
// or NUL: such a line is not one a server sends, and whatever it claims (a
// sender cut short at a NUL) is not to be believed.
std::optional<Message> ParseLine(std::string_view line);

// One line to send, without CR LF: the command, the middle parameters, and
// the last parameter with ':' when it needs it (empty, has a space, or begins
// with ':'). CR, LF and NUL are removed from every parameter; a middle
// parameter also loses spaces and a leading ':' (it could not be one
// parameter otherwise) and an empty one becomes "*".
std::string FormatLine(std::string_view command, const std::vector<std::string>& params);

}  // namespace wavecrest::irc
