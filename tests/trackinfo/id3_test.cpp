#include "trackinfo/id3.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace wavecrest {
namespace {

using testing::TempTree;

std::string Padded(std::string text, std::size_t width, char pad) {
  text.resize(width, pad);
  return text;
}

// 128 bytes of audio that hold no "tag", then a tag with the given marker.
std::string TaggedFile(const std::string& marker, const std::string& title, const std::string& artist,
                       const std::string& album, const std::string& year, const std::string& comment) {
  std::string bytes(300, '\xFF');
  bytes += marker + title + artist + album + year + comment + '\x0C';
  return bytes;
}

TEST(ReadTag, ReturnsEachFieldExactlyAsStored) {
  TempTree tree;
  const std::string comment = Padded("nice", 28, ' ') + std::string("\0\x05", 2);  // track number 5
  const std::string path = tree.Bytes(
      "song.mp3", TaggedFile("TAG", Padded("Song", 30, '\0'), Padded("Band", 30, ' '), Padded("Caf\xE9", 30, '\0'),
                             "1999", comment));
  const struct {
    const char* field;
    std::string (*reader)(const std::string&);
    std::string expected;
  } cases[] = {
      {"title", &ReadTagTitle, "Song" + std::string(26, '\0')},
      {"artist", &ReadTagArtist, "Band" + std::string(26, ' ')},
      {"album", &ReadTagAlbum, "Caf\xC3\xA9" + std::string(26, '\0')},  // Windows-1252 é as UTF-8
      {"year", &ReadTagYear, "1999"},
      {"comment", &ReadTagComment, comment},
  };
  for (const auto& c : cases) EXPECT_EQ(c.reader(path), c.expected) << c.field;
  EXPECT_EQ(ReadId3v1Tag(path), (TagFields{cases[1].expected, cases[0].expected, cases[2].expected, cases[3].expected,
                                           cases[4].expected}));
}

TEST(ReadTag, FindsTheMarkerInAnyCaseAndTakesTheFirstOne) {
  TempTree tree;
  const std::string fields = Padded("Title", 30, ' ') + Padded("Artist", 30, ' ') + Padded("", 30, ' ') + "2001" +
                             Padded("", 30, ' ') + '\x01';
  std::string early(300, '\x01');
  early.replace(200, 3, "Tag");  // in the audio before the tag, inside the window
  const struct {
    std::string bytes;
    std::string title;
    std::string year;
  } cases[] = {
      {std::string(200, '\0') + "TAG" + fields, Padded("Title", 30, ' '), "2001"},
      {std::string(200, '\0') + "tag" + fields, Padded("Title", 30, ' '), "2001"},
      {std::string(200, '\0') + "tAg" + fields, Padded("Title", 30, ' '), "2001"},
      // The earlier "Tag" wins: fields are taken relative to it.
      {early + "TAG" + fields, std::string(30, '\x01'), std::string(4, '\x01')},
      // A marker near the window's end: the fields are cut short or empty.
      {std::string(300, '\0') + "TAG" + "Short", "Short", ""},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = tree.Bytes("f" + std::to_string(n++) + ".mp3", c.bytes);
    EXPECT_EQ(ReadTagTitle(path), c.title) << n;
    EXPECT_EQ(ReadTagYear(path), c.year) << n;
  }
}

TEST(ReadTag, NoTagOrNoFileGivesNotAvailable) {
  TempTree tree;
  tree.Dir("folder.mp3");
  const std::string cases[] = {
      tree.Bytes("untagged.mp3", std::string(4096, '\x55')),
      tree.Bytes("short.mp3", std::string(125, '\0') + "TAG" + std::string(127, ' ')),  // 255 bytes
      tree.Path("missing.mp3"),
      tree.Path("folder.mp3"),
  };
  for (const auto& path : cases) {
    for (auto* reader : {&ReadTagTitle, &ReadTagArtist, &ReadTagAlbum, &ReadTagYear, &ReadTagComment}) {
      EXPECT_EQ(reader(path), "n/a") << path;
    }
    EXPECT_EQ(ReadId3v1Tag(path), std::nullopt) << path;
  }
  EXPECT_FALSE(std::filesystem::exists(tree.Path("missing.mp3")));  // nothing was created
}

TEST(ReadTag, AnEmptyPathGivesEmptyText) {
  for (auto* reader : {&ReadTagTitle, &ReadTagArtist, &ReadTagAlbum, &ReadTagYear, &ReadTagComment}) {
    EXPECT_EQ(reader(""), "");
  }
  EXPECT_EQ(ReadId3v1Tag(""), std::nullopt);
}

TEST(ReadTag, TextThatIsValidUtf8StaysAsItIs) {
  TempTree tree;
  const std::string path = tree.Bytes(
      "u.mp3", TaggedFile("TAG", Padded("Caf\xC3\xA9", 30, ' '), Padded("", 30, ' '), Padded("", 30, ' '), "2020",
                          Padded("", 30, ' ')));
  EXPECT_EQ(ReadTagTitle(path), Padded("Caf\xC3\xA9", 30, ' '));
}

TEST(TagFieldText, CutsAtTheFirstNul) {
  const struct {
    std::string field;
    std::string shown;
  } cases[] = {
      {"Song" + std::string(26, '\0'), "Song"},
      {"Band" + std::string(26, ' '), "Band" + std::string(26, ' ')},
      {std::string("A\0B", 3), "A"},
      {std::string(30, '\0'), ""},
      {"n/a", "n/a"},
  };
  for (const auto& c : cases) EXPECT_EQ(TagFieldText(c.field), c.shown);
}

}  // namespace
}  // namespace wavecrest
