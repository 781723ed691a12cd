#include "core/control_characters.h"

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

TEST(PlainLine, LineBreaksAndTabsBecomeSpacesOtherControlsGo) {
  const struct {
    std::string text, line;
  } cases[] = {
      {"first\r\nsecond\tthird", "first  second third"},
      {"\x1b[2Jclear\x07\x7f", "[2Jclear"},
      {"a\xC2\x9B" "b\xC2\x85" "c", "abc"},  // C1 controls: CSI, NEL
      {"caf\xC3\xA9 \xC2\xA0\xE2\x80\xBA", "caf\xC3\xA9 \xC2\xA0\xE2\x80\xBA"},  // no-break space, ›
      {std::string("nul\0inside", 11), "nulinside"},
  };
  for (const auto& c : cases) EXPECT_EQ(PlainLine(c.text), c.line) << c.text;
}

TEST(ControlCharacters, RemovedForTheWireAndForAPersonToRead) {
  const struct {
    std::string text, removed, forAPerson, lineOnIrc;
  } cases[] = {
      {"a\x1b[2Jb\x7f\tc", "a[2Jbc", "a[2Jbc", "a[2Jb c"},
      {"c1 \xC2\x9B" "31m", "c1 31m", "c1 31m", "c1 31m"},
      // Not UTF-8: kept as bytes on the wire, read as Windows-1252 for a person.
      {"jos\xE9 \x9B", "jos\xE9 \x9B", "jos\xC3\xA9 \xE2\x80\xBA", "jos\xE9 \x9B"},
      {std::string("nul\0cut\r\n", 9), "nulcut", "nulcut", "nul cut  "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RemoveControls(c.text), c.removed) << c.text;
    EXPECT_EQ(WithoutControlCharacters(c.text), c.forAPerson) << c.text;
    EXPECT_EQ(PlainLine(c.text, NulInLine::kSpace), c.lineOnIrc) << c.text;
  }
}

}  // namespace
}  // namespace wavecrest
