// What listeners' players show for a song.
#include "app/stream/stream_title.h"

#include "support/fakes.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

std::string Padded(std::string text, std::size_t width, char pad) {
  text.resize(width, pad);
  return text;
}

// 200 bytes of sound and an ID3v1 tag with this title and artist.
std::string Tagged(const std::string& title, const std::string& artist) {
  return std::string(200, '\x55') + "TAG" + Padded(title, 30, '\0') + Padded(artist, 30, '\0') +
         std::string(30, '\0') + "2001" + std::string(30, '\0') + '\x0c';
}

// An ID3v2.4 tag header (its frames are the tag reader's to read) and no
// ID3v1 tag.
std::string Id3v2Only() { return std::string("ID3\x04\x00\x00\x00\x00\x00\x0a", 10) + std::string(300, 'x'); }

TEST(StreamTitle, ArtistAndTitleFromTheTagWhenBothAreThereOtherwiseTheDisplayName) {
  testing::TempTree tree;
  testing::FakeTagReader id3v2;
  // What the ID3v2 reader finds in every file that begins with such a tag;
  // a file with an ID3v1 tag is never given to it.
  id3v2.fallback = TagFields{"Tide Band", "  Harbour \xE2\x80\x94 Lights\n", "", "", ""};
  const struct {
    const char* name;
    std::string bytes;  // the file; empty: no file at all
    std::string displayName;
    std::string title;
  } cases[] = {
      {"both, padding trimmed", Tagged("  Echo Valley  ", "The Tide   "), "echo", "The Tide - Echo Valley"},
      {"padded with spaces", Tagged(Padded("Song", 30, ' '), Padded("Band", 30, ' ')), "x", "Band - Song"},
      {"no artist", Tagged("Echo Valley", ""), "echo valley", "echo valley"},
      {"a blank title", Tagged("    ", "The Tide"), "echo valley", "echo valley"},
      {"no tag", std::string(300, 'x'), "night tide", "night tide"},
      {"an ID3v2 tag alone", Id3v2Only(), "x", "Tide Band - Harbour \xE2\x80\x94 Lights"},
      {"no file", "", "tide pool", "tide pool"},
      {"Windows-1252 tag text", Tagged("Caf\xE9", "Band"), "x", "Band - Caf\xC3\xA9"},
      {"controls never reach a listener", Tagged("a\x1b]0;x\x07" "b", "c\r\nd"), "x", "cd - a]0;xb"},
      {"controls in a file name", "", "bad\x1b[2Jname\x7f", "bad[2Jname"},
      {"an over-long name is cut at a character", "", std::string(254, 'a') + "\xC3\xA9\xC3\xA9",
       std::string(254, 'a')},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path =
        c.bytes.empty() ? tree.Path("missing.mp3") : tree.Bytes("song" + std::to_string(++n) + ".mp3", c.bytes);
    const std::string title = StreamTitle(path, c.displayName, id3v2);
    EXPECT_EQ(title, c.title) << c.name;
    EXPECT_LE(title.size(), kMaxStreamTitleBytes) << c.name;
  }
}

}  // namespace
}  // namespace wavecrest
