#include "core/text.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

TEST(LowerCase, IsUnicodeAware) {
  const struct {
    const char* in;
    const char* lower;
    const char* upper;
  } cases[] = {
      {"NEXT", "next", "NEXT"},
      {"JOSÉ", "josé", "JOSÉ"},
      {"Ärger ÜBER Öl", "ärger über öl", "ÄRGER ÜBER ÖL"},
      {".·•×", ".·•×", ".·•×"},
      {"front ascii color", "front ascii color", "FRONT ASCII COLOR"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LowerCase(c.in), c.lower) << c.in;
    EXPECT_EQ(UpperCase(c.in), c.upper) << c.in;
  }
}

TEST(RemoveSpaces, RemovesOnlyTheSpaceCharacter) {
  EXPECT_EQ(RemoveSpaces("Some Member"), "SomeMember");
  EXPECT_EQ(RemoveSpaces("  "), "");
  EXPECT_EQ(RemoveSpaces("a\tb"), "a\tb");
  EXPECT_EQ(RemoveSpaces("nospace"), "nospace");
}

TEST(ReplaceAll, FollowsTheSearchRules) {
  const struct {
    const char* text;
    const char* find;
    const char* replacement;
    const char* expected;
  } cases[] = {
      {"Song.MP3", ".mp3", "", "Song"},
      {"a.mp3.txt", ".mp3", "", "a.txt"},
      {"My.mp3 mix.mp3", ".mp3", "", "My mix"},
      {"chat input please", "Chat Input", "", " please"},
      {"CHAT INPUT", "chat input", "", ""},
      // The replacement is never searched again.
      {"aa", "a", "aa", "aaaa"},
      {"xAx", "a", "ba", "xbax"},
      // An empty text to find changes nothing (and ends).
      {"abc", "", "zz", "abc"},
      {"", "a", "b", ""},
      {"ÉTÉ été", "été", "summer", "summer summer"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.find, c.replacement), c.expected) << c.text << " / " << c.find;
  }
}

TEST(TextEncoding, NonUtf8IsReadAsWindows1252) {
  EXPECT_TRUE(IsValidUtf8("caf\xC3\xA9"));
  EXPECT_FALSE(IsValidUtf8("caf\xE9"));
  EXPECT_EQ(ToUtf8("caf\xE9"), "café");
  EXPECT_EQ(ToUtf8("\x80\x95\xD7"), "€•×");
  EXPECT_EQ(ToUtf8("caf\xC3\xA9"), "café");
}

TEST(CodePoints, CountAndCutWholeCharacters) {
  EXPECT_EQ(CodePointCount(".·•×"), 4u);
  EXPECT_EQ(FirstCodePoints(".·•×", 2), ".·");
  EXPECT_EQ(FirstCodePoints("abc", 10), "abc");
}

}  // namespace
}  // namespace wavecrest
