#include "trackinfo/track_info.h"

#include "support/fakes.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::FakeTagReader;
using testing::TempTree;

const std::string kId3v2Start("ID3\x04\x00\x00\x00\x00\x00\x05title", 15);

// Audio bytes, then an ID3v1 tag whose title is "V1 Title" padded with spaces.
std::string WithId3v1(std::string bytes) {
  bytes.resize(std::max<std::size_t>(bytes.size(), 300), '\0');
  std::string title = "V1 Title";
  title.resize(30, ' ');
  return bytes + "TAG" + title + std::string(94, '\0');
}

TEST(ReadTags, Id3v1FirstElseId3v2ForAFileThatBeginsWithOne) {
  TempTree tree;
  const TagFields v2{"V2 Artist", "V2 Title", "V2 Album", "2011", "line one\nline two"};
  const TagFields none{kNoTag, kNoTag, kNoTag, kNoTag, kNoTag};
  const std::string nuls(30, '\0');
  const TagFields v1{nuls, "V1 Title" + std::string(22, ' '), nuls, std::string(4, '\0'), nuls};  // as stored
  const struct {
    const char* name;
    std::string bytes;
    bool inReader;  // the reader knows an ID3v2 tag for the file
    TagFields fields;
    int reads;  // how often the ID3v2 reader was asked
  } cases[] = {
      {"both tags", WithId3v1(kId3v2Start), true, v1, 0},
      {"ID3v2 alone", kId3v2Start + std::string(300, '\0'), true, v2, 1},
      {"a tag the reader refuses", kId3v2Start + std::string(300, '\0'), false, none, 1},
      {"no tag at the start", std::string(300, '\0') + kId3v2Start, true, none, 0},
      {"neither", std::string(4096, '\x55'), false, none, 0},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = tree.Bytes("f" + std::to_string(n++) + ".mp3", c.bytes);
    FakeTagReader reader;
    if (c.inReader) reader.tags[path] = v2;
    EXPECT_EQ(ReadTags(path, reader), c.fields);
    EXPECT_EQ(reader.reads, c.reads);
  }
}

TEST(ReadTags, Id3v2FieldsAreUtf8AndBounded) {
  TempTree tree;
  const std::string path = tree.Bytes("long.mp3", kId3v2Start + std::string(300, '\0'));
  FakeTagReader reader;
  const std::string lyrics(500, 'x');
  reader.tags[path] = TagFields{"Caf\xE9", std::string(kMaxId3v2FieldCodePoints + 2, '\xE9'), "", "", lyrics};
  const TagFields fields = ReadTags(path, reader);
  EXPECT_EQ(fields.artist, "Caf\xC3\xA9");  // not UTF-8: read as Windows-1252
  EXPECT_EQ(fields.title.size(), 2 * kMaxId3v2FieldCodePoints);  // whole two-byte characters
  EXPECT_EQ(fields.comment, lyrics.substr(0, kMaxId3v2FieldCodePoints));
}

TEST(ReadTags, AnEmptyPathTouchesNothing) {
  FakeTagReader reader;
  EXPECT_EQ(ReadTags("", reader), TagFields{});
  EXPECT_EQ(reader.reads, 0);
}

}  // namespace
}  // namespace wavecrest
