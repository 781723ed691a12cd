#include "host/irc/message.h"

#include "host/irc/url.h"

#include <gtest/gtest.h>

namespace wavecrest::irc {
namespace {

using Params = std::vector<std::string>;

TEST(IrcParseLine, PrefixTagsAndParameters) {
  const struct {
    const char* line;
    Prefix prefix;
    const char* command;
    Params params;
  } cases[] = {
      {":nick!user@host PRIVMSG #chan :hello there", {"nick", "user", "host"}, "PRIVMSG", {"#chan", "hello there"}},
      {"@time=2020-01-01T00:00:00Z;msgid=x :n!u@h NOTICE me :hi", {"n", "u", "h"}, "NOTICE", {"me", "hi"}},
      {":irc.example.net 001 bot :Welcome", {"irc.example.net", "", ""}, "001", {"bot", "Welcome"}},
      {":n@h JOIN #c", {"n", "", "h"}, "JOIN", {"#c"}},
      {"ping :123 456", {}, "PING", {"123 456"}},
      {"PRIVMSG #c :", {}, "PRIVMSG", {"#c", ""}},
      {"PRIVMSG #c ::-)", {}, "PRIVMSG", {"#c", ":-)"}},
      {"MODE  #c   +o  nick", {}, "MODE", {"#c", "+o", "nick"}},
      {"  QUIT", {}, "QUIT", {}},
      {"CAP * LS :a b=c", {}, "CAP", {"*", "LS", "a b=c"}},
  };
  for (const auto& c : cases) {
    const std::optional<Message> message = ParseLine(c.line);
    ASSERT_TRUE(message) << c.line;
    EXPECT_EQ(message->prefix, c.prefix) << c.line;
    EXPECT_EQ(message->command, c.command) << c.line;
    EXPECT_EQ(message->params, c.params) << c.line;
  }
  for (const char* bad : {"", "   ", "@tags-only", ":prefix-only", ": PRIVMSG x", "12 x", "1234", "PRIV-MSG x", "@t :p"}) {
    EXPECT_FALSE(ParseLine(bad)) << bad;
  }
}

TEST(IrcFormatLine, TrailingColonOnlyWhenNeededAndNoLineBreakSurvives) {
  const struct {
    const char* command;
    Params params;
    const char* line;
  } cases[] = {
      {"NICK", {"bot"}, "NICK bot"},
      {"PRIVMSG", {"#c", "two words"}, "PRIVMSG #c :two words"},
      {"PRIVMSG", {"#c", ""}, "PRIVMSG #c :"},
      {"PRIVMSG", {"#c", ":-)"}, "PRIVMSG #c ::-)"},
      {"PRIVMSG", {"#c", "x\r\nQUIT :bye"}, "PRIVMSG #c :xQUIT :bye"},
      {"PRIVMSG", {"#c\r\nQUIT", std::string("a\0b", 3)}, "PRIVMSG #cQUIT ab"},
      {"JOIN", {":#c d", "k"}, "JOIN #cd k"},
      {"USER", {"", "0", "*", "Real Name"}, "USER * 0 * :Real Name"},
  };
  for (const auto& c : cases) {
    const std::string line = FormatLine(c.command, c.params);
    EXPECT_EQ(line, c.line);
    const std::optional<Message> back = ParseLine(line);
    ASSERT_TRUE(back) << line;
    EXPECT_EQ(back->command, c.command) << "a parameter became a second command: " << line;
  }
}

TEST(IrcCaseMapping, NicksAndMasks) {
  EXPECT_EQ(IrcLower("Nick[A]\\^"), "nick{a}|~");
  EXPECT_TRUE(SameNick("Bob[away]", "bob{AWAY}"));
  EXPECT_FALSE(SameNick("bob", "bob_"));
  const struct {
    const char* mask;
    const char* who;
    bool matches;
  } cases[] = {
      {"owner!*@*", "Owner!~o@host.example", true},
      {"owner!*@*", "owner2!o@h", false},
      {"*!*@trusted.example", "anyone!x@trusted.example", true},
      {"*!*@trusted.example", "anyone!x@trusted.example.evil", false},
      {"o?ner!u@h", "OWNER!u@h", true},
      {"[o]*", "{O}wner!u@h", true},
      {"a*b*c", "aXXbYYbZZc", true},
      {"a*b*c", "aXXbYYbZZ", false},
      {"*", "", true},
      {"", "x", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MaskMatches(c.mask, c.who), c.matches) << c.mask << " ~ " << c.who;
}

TEST(IrcParseUrl, SchemesPortsAndChannels) {
  const struct {
    const char* text;
    Url url;
  } good[] = {
      {"irc://irc.example.net/#room", {"irc.example.net", 6667, false, "#room"}},
      {"ircs://irc.example.net/#room", {"irc.example.net", 6697, true, "#room"}},
      {"irc://127.0.0.1:7000/%23room", {"127.0.0.1", 7000, false, "#room"}},
      {"IRCS://[::1]:6999/#a.b-c", {"::1", 6999, true, "#a.b-c"}},
  };
  for (const auto& c : good) EXPECT_EQ(ParseUrl(c.text), c.url) << c.text;
  for (const char* bad : {"", "http://h/#c", "irc://h", "irc://h/", "irc://h/room", "irc:///#c", "irc://h:0/#c",
                          "irc://h:65536/#c", "irc://h:x/#c", "irc://h:/#c", "irc://h/#", "irc://h/#a b",
                          "irc://h/#a,#b", "irc://h/#a%20b", "irc://h/#a%2", "irc://h o/#c", "irc://[::1/#c",
                          "irc://[zz]/#c", "irc://h/#a%0d%0aQUIT"}) {
    EXPECT_FALSE(ParseUrl(bad)) << bad;
  }
}

}  // namespace
}  // namespace wavecrest::irc
