#include "host/irc/message.h"

#include "host/irc/case_mapping.h"
#include "host/irc/server_time.h"
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

TEST(IrcParseLine, TagsAreKeptWithTheirValuesUnescaped) {
  const auto message = ParseLine("@account=dj;+draft/x=a\\:b\\sc\\\\d\\;bare;time=1;account=later :n!u@h PRIVMSG #c :hi");
  ASSERT_TRUE(message);
  EXPECT_EQ(message->Tag("account"), "later") << "a key given twice counts with its last value";
  EXPECT_EQ(message->Tag("+draft/x"), "a;b c\\d");
  EXPECT_EQ(message->Tag("bare"), "");
  EXPECT_EQ(message->Tag("msgid"), std::nullopt);
  EXPECT_EQ(message->params, (Params{"#c", "hi"}));
}

// A NUL (or a line break) inside a line is no server's doing; whatever the
// line claims, such as a sender that reads as another once the NUL is gone,
// is not believed.
TEST(IrcParseLine, ALineHoldingNulOrALineBreakIsDropped) {
  for (const std::string& line : {std::string(":own\0er!o@h PRIVMSG #c :vol 45", 30), std::string("PING :a\0b", 9),
                                 std::string(":n!u@h PRIVMSG #c :x\ry"), std::string(":n!u@h PRIVMSG #c :x\nQUIT")}) {
    EXPECT_FALSE(ParseLine(line)) << line;
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

TEST(IrcServerTime, TheStampInSecondsSince1970) {
  const struct {
    const char* text;
    std::optional<double> seconds;
  } cases[] = {
      {"1970-01-01T00:00:00Z", 0.0},
      {"2026-12-06T12:00:00.250Z", 1796558400.25},
      {"2000-02-29T23:59:59Z", 951868799.0},
      {"2026-12-06T12:00:00", std::nullopt},
      {"2026-13-06T12:00:00Z", std::nullopt},
      {"2026-12-06 12:00:00Z", std::nullopt},
      {"2026-12-06T12:00:00.5Zjunk", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseServerTime(c.text), c.seconds) << c.text;
}

TEST(IrcCaseMapping, NamesCompareByTheServersRules) {
  using enum CaseMapping;
  const struct {
    CaseMapping mapping;
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {kRfc1459, "Bob[away]", "bob{AWAY}", true},  {kRfc1459, "x^\\", "X~|", true},
      {kRfc1459, "bob", "bob_", false},            {kStrictRfc1459, "Bob[away]\\", "bob{away}|", true},
      {kStrictRfc1459, "x^", "x~", false},         {kAscii, "bot[1]", "bot{1}", false},
      {kAscii, "BoT[1]", "bot[1]", true},
  };
  for (const auto& c : cases) EXPECT_EQ(SameName(c.mapping, c.a, c.b), c.same) << c.a << " ~ " << c.b;
  EXPECT_EQ(CaseMappingNamed("ascii"), kAscii);
  EXPECT_EQ(CaseMappingNamed("strict-rfc1459"), kStrictRfc1459);
  EXPECT_EQ(CaseMappingNamed("rfc7613"), kRfc1459) << "unknown: the default";
  EXPECT_EQ(Fold(kRfc1459, "Nick[A]\\^"), "nick{a}|~");
}

TEST(IrcCaseMapping, MasksMatchUnderTheMapping) {
  const struct {
    const char* mask;
    const char* who;
    bool matches;
    CaseMapping mapping = CaseMapping::kRfc1459;
  } cases[] = {
      {"owner!*@*", "Owner!~o@host.example", true},
      {"owner!*@*", "owner2!o@h", false},
      {"*!*@trusted.example", "anyone!x@trusted.example", true},
      {"*!*@trusted.example", "anyone!x@trusted.example.evil", false},
      {"o?ner!u@h", "OWNER!u@h", true},
      {"[o]*", "{O}wner!u@h", true},
      {"[o]*", "{O}wner!u@h", false, CaseMapping::kAscii},
      {"a*b*c", "aXXbYYbZZc", true},
      {"a*b*c", "aXXbYYbZZ", false},
      {"*", "", true},
      {"", "x", false},
  };
  for (const auto& c : cases) EXPECT_EQ(MaskMatches(c.mapping, c.mask, c.who), c.matches) << c.mask << " ~ " << c.who;
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
