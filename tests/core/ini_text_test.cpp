#include "core/ini_text.h"

#include <gtest/gtest.h>

#include <string>

namespace wavecrest {
namespace {

TEST(IniLookup, FindsKeysLikeAProfileReader) {
  const struct {
    const char* name;
    std::string content;
    const char* key;
    std::optional<std::string> expected;
  } cases[] = {
      {"section and key ignore case", "[SETTINGS]\nHandle=Some One\n", "handle", "Some One"},
      {"upper-case key written by us", "[settings]\nFRONT ASCII COLOR=ff0000\n", "front ascii color", "ff0000"},
      {"windows line endings", "[settings]\r\nfont=arial\r\ncolor=000000\r\n", "font", "arial"},
      {"byte order mark", "\xEF\xBB\xBF[settings]\nfont=arial\n", "font", "arial"},
      {"blanks around key", "[settings]\n  font  =arial\n", "font", "arial"},
      {"value kept exactly, spaces too", "[settings]\nfront ascii= ~*~ \n", "front ascii", " ~*~ "},
      {"line without = is ignored", "[settings]\nfont\nfont=arial\n", "font", "arial"},
      {"first of duplicate keys wins", "[settings]\nload=3\nload=9\n", "load", "3"},
      {"other section does not count", "[other]\nfont=x\n[settings]\ncolor=1\n", "font", std::nullopt},
      {"repeated section continues", "[settings]\na=1\n[x]\n[settings]\nfont=y\n", "font", "y"},
      {"comment line", "[settings]\n;font=x\n", "font", std::nullopt},
      {"equals inside value", "[settings]\nfascii=a=b\n", "fascii", "a=b"},
      {"no section line", "font=arial\n", "font", std::nullopt},
      {"empty file", "", "font", std::nullopt},
      {"empty value", "[settings]\ntrigger=\n", "trigger", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniLookup(c.content, "settings", c.key), c.expected) << c.name;
  }
}

TEST(IniLookup, CutsValuesAt749Characters) {
  const std::string longValue(10000, 'x');
  EXPECT_EQ(IniLookup("[settings]\nhandle=" + longValue + "\n", "settings", "handle"), std::string(749, 'x'));
  // Characters, not bytes: a multi-byte character is never cut in half.
  std::string bullets;
  for (int i = 0; i < 800; ++i) bullets += "•";
  const auto value = IniLookup("[settings]\nfascii=" + bullets + "\n", "settings", "fascii");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->size(), 749u * 3);
}

TEST(IniWithValue, WritesLikeAProfileWriter) {
  const struct {
    const char* name;
    std::string before;
    const char* key;
    const char* value;
    std::string after;
  } cases[] = {
      {"new file", "", "color", "ff0000", "[settings]\nCOLOR=ff0000\n"},
      {"existing key replaced in place, spelling kept", "[settings]\nColor=000000\nfont=arial\n", "color", "ff0000",
       "[settings]\nColor=ff0000\nfont=arial\n"},
      {"new key at the end of its section", "[settings]\nfont=arial\n\n[other]\nx=1\n", "load", "1",
       "[settings]\nfont=arial\nLOAD=1\n\n[other]\nx=1\n"},
      {"section added after others", "[other]\nx=1\n", "load", "1", "[other]\nx=1\n[settings]\nLOAD=1\n"},
      {"no final line end", "[settings]\nfont=arial", "load", "2", "[settings]\nfont=arial\nLOAD=2\n"},
      {"windows line endings kept", "[settings]\r\nfont=arial\r\n", "load", "1",
       "[settings]\r\nfont=arial\r\nLOAD=1\r\n"},
      {"byte order mark kept", "\xEF\xBB\xBF[settings]\nload=1\n", "load", "2", "\xEF\xBB\xBF[settings]\nload=2\n"},
      {"first duplicate replaced", "[settings]\nload=1\nload=7\n", "load", "2", "[settings]\nload=2\nload=7\n"},
      {"line break in a value cannot add a key", "", "handle", "a\nload=99", "[settings]\nHANDLE=a load=99\n"},
      {"value with spaces kept", "", "front ascii", " x ", "[settings]\nFRONT ASCII= x \n"},
      {"lone CR at the end completed, not doubled", "[settings]\r\nfont=arial\r", "load", "1",
       "[settings]\r\nfont=arial\r\nLOAD=1\r\n"},
      {"lone CR before a new section", "[other]\r\nx=1\r", "load", "1", "[other]\r\nx=1\r\n[settings]\r\nLOAD=1\r\n"},
      {"value that is not UTF-8 stored as UTF-8", "", "handle", "jos\xE9", "[settings]\nHANDLE=jos\xC3\xA9\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniWithValue(c.before, "settings", c.key, c.value), c.after) << c.name;
  }
}

TEST(IniWithValue, WhatIsWrittenReadsBack) {
  std::string content;
  const std::pair<const char*, const char*> writes[] = {
      {"handle", "dj bob"}, {"front ascii", ".·•×"}, {"trigger", "none"}, {"handle", "dj alice"}};
  for (const auto& [key, value] : writes) content = IniWithValue(content, "settings", key, value);
  EXPECT_EQ(IniLookup(content, "settings", "handle"), "dj alice");
  EXPECT_EQ(IniLookup(content, "settings", "front ascii"), ".·•×");
  EXPECT_EQ(IniLookup(content, "settings", "trigger"), "none");
}

TEST(IniTextFromBytes, DecodesEachLineOnItsOwn) {
  const struct {
    const char* name;
    std::string bytes;
    std::string text;
  } cases[] = {
      {"UTF-8 kept", "[settings]\nhandle=jos\xC3\xA9\n", "[settings]\nhandle=jos\xC3\xA9\n"},
      {"Windows-1252 file", "fascii=\xB7\x95\xD7\r\n", "fascii=\xC2\xB7\xE2\x80\xA2\xC3\x97\r\n"},
      {"one stray byte spoils only its line", "a=jos\xC3\xA9\nb=\xFF\nc=\xE2\x80\xA2",
       "a=jos\xC3\xA9\nb=\xC3\xBF\nc=\xE2\x80\xA2"},
      {"empty", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniTextFromBytes(c.bytes), c.text) << c.name;
  }
}

}  // namespace
}  // namespace wavecrest
