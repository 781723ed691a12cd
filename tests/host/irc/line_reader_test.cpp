#include "host/irc/line_reader.h"

#include <gtest/gtest.h>

namespace wavecrest::irc {
namespace {

using Lines = std::vector<std::string>;

TEST(IrcLineReader, BytesBecomeLinesAndAnOverLongLineIsDroppedWhole) {
  const std::string longTail = std::string(kMaxLineBytes, 'x') + "PRIVMSG #room :vol 45";
  static_assert(kMaxLineBytes == 16000 + 384);
  const struct {
    const char* name;
    std::vector<std::string> reads;
    Lines lines;
  } cases[] = {
      {"CR LF, LF or CR ends a line; empty lines are none", {"A\r\nB\nC\rD\r\n\r\n\n"}, {"A", "B", "C", "D"}},
      {"a line and its end across reads", {"PI", "NG :1\r", "\nPONG"}, {"PING :1"}},
      {"a line of exactly the limit is kept", {std::string(kMaxLineBytes, 'y') + "\r\nNEXT\r\n"},
       {std::string(kMaxLineBytes, 'y'), "NEXT"}},
      {"past the limit in one read: nothing of it, the next line kept", {longTail + "\r\nNEXT\r\n"}, {"NEXT"}},
      {"past the limit over many reads: its tail is no line", {std::string(16000, 'x'), std::string(385, 'x'),
                                                               "PRIVMSG #room :vol 45", "\r\nNEXT\r\n"},
       {"NEXT"}},
  };
  for (const auto& c : cases) {
    LineReader reader;
    Lines lines;
    for (const std::string& read : c.reads) {
      for (std::string& line : reader.Append(read)) lines.push_back(std::move(line));
    }
    EXPECT_EQ(lines, c.lines) << c.name;
  }
}

}  // namespace
}  // namespace wavecrest::irc
