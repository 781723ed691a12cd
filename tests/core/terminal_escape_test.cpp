#include "core/terminal_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace wavecrest {
namespace {

TEST(EscapeControls, NothingReachesTheTerminalRaw) {
  const struct {
    const char* name;
    std::string text;
    std::string shown;
  } cases[] = {
      {"plain text and UTF-8 kept", "caf\xC3\xA9 \xE2\x80\xA2 a\\b", "caf\xC3\xA9 \xE2\x80\xA2 a\\b"},
      {"retitle sequence", "a\x1b]0;owned\x07z", "a\\x1b]0;owned\\x07z"},
      {"line ends, tab and DEL", "x\r\ny\tz\x7f", "x\\x0d\\x0ay\\x09z\\x7f"},
      {"C1 control", "c1 \xC2\x9B" "31m \xC2\xA0", "c1 \\u009b31m \xC2\xA0"},
      {"bytes that are not UTF-8", "jos\xE9 \xC3", "jos\\xe9 \\xc3"},
      {"NUL", std::string("a\0b", 3), "a\\x00b"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeControls(c.text), c.shown) << c.name;
}

}  // namespace
}  // namespace wavecrest
