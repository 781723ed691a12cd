#include "library/entry_names.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

TEST(IsSelected, FindsDotExtensionAfterTheFirstCharacter) {
  const struct {
    const char* name;
    const char* extension;
    bool selected;
  } cases[] = {
      {"song.mp3", "mp3", true},       {"Track.MP3", "mp3", true},   {"track.mp3.bak", "mp3", true},
      {"x.mp3x", "mp3", true},         {".mp3", "mp3", false},       {".mp3.mp3", "mp3", true},
      {"a.mp3", "mp3", true},          {"mp3", "mp3", false},        {"xmp3", "mp3", false},
      {"song.wav", "mp3", false},      {"song.mp", "mp3", false},    {"song.WAV", "wav", true},
      {"Été.MP3", "mp3", true},        {"été", "mp3", false},        {"a.wma", "WMA", true},
      {"a.mp3", "", true},             {".", "", false},             {"", "mp3", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSelected(c.name, c.extension), c.selected) << c.name << " / " << c.extension;
}

TEST(DisplayName, CutsTheDirectoryAndEveryDotExtension) {
  const struct {
    const char* path;
    const char* extension;
    const char* name;
  } cases[] = {
      {"/music/Rock/Song.MP3", "mp3", "Song"},
      {"/music/a.mp3.txt", "mp3", "a.txt"},
      {"/music/b.mp3x", "mp3", "bx"},
      {"/music/My.mp3 mix.mp3", "mp3", "My mix"},
      {"/music/Été.Mp3", "mp3", "Été"},
      {"/music/x.wav", "mp3", "x.wav"},
      {"song.mp3", "mp3", "song"},
      {"/music/..mp3mp3", "mp3", ".mp3"},  // the replacement is not searched again
      {"/a.mp3/b/", "mp3", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DisplayName(c.path, c.extension), c.name) << c.path;
}

}  // namespace
}  // namespace wavecrest
