#pragma once

// IRC protocol lines: parsing what the server sends, formatting what the
// client sends, and the network's case mapping for nick and channel names.
// A formatted line can never carry a second command: CR, LF and NUL are
// removed from every parameter.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::irc {

// "nick!user@host"; for a server prefix nick holds the server's name.
struct Prefix {
  std::string nick, user, host;
  bool operator==(const Prefix&) const = default;
};

struct Message {
  Prefix prefix;                     // empty when the line had none
  std::string command;               // upper-cased; numerics as the three digits
  std::vector<std::string> params;   // the trailing parameter is the last one
  bool operator==(const Message&) const = default;
};

// One line, CR LF already removed. IRCv3 tags (@...) are skipped. CR, LF and
// NUL inside the line are dropped. nullopt when the line is empty or has no
// valid command (letters, or exactly three digits).
std::optional<Message> ParseLine(std::string_view line);

// One line to send, without CR LF: the command, the middle parameters, and
// the last parameter with ':' when it needs it (empty, has a space, or begins
// with ':'). CR, LF and NUL are removed from every parameter; a middle
// parameter also loses spaces and a leading ':' (it could not be one
// parameter otherwise) and an empty one becomes "*".
std::string FormatLine(std::string_view command, const std::vector<std::string>& params);

// RFC 1459 case mapping: {}|~ are the lower case of []\^.
std::string IrcLower(std::string_view text);
bool SameNick(std::string_view a, std::string_view b);

// Glob (* any run, ? one byte) over "nick!user@host", case-insensitive by
// IrcLower.
bool MaskMatches(std::string_view mask, std::string_view nickUserHost);

}  // namespace wavecrest::irc
