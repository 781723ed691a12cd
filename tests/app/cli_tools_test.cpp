#include "app/cli/tools.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

using testing::TempTree;

struct ToolRun {
  int status;
  std::string out, err;
};

ToolRun Tool(int (*tool)(int, char**, std::ostream&, std::ostream&), std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (auto& a : arguments) argv.push_back(a.data());
  std::ostringstream out, err;
  const int status = tool(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

TEST(ScanTool, PrintsTheLibraryInOrder) {
  TempTree tree;
  tree.File("Music/b.mp3");
  tree.File("Music/A/Song.MP3");
  tree.File("Music/A/x.wav");
  tree.File("Music/.hidden.mp3");
  tree.File("Music/C/\x1b]0;x\x07\nnew.wav");
  const std::string m = tree.Path("Music");
  const std::string nul(1, '\0');
  const struct {
    std::vector<std::string> arguments;
    std::string out;
  } cases[] = {
      {{"scan", m}, "1\tSong\t" + m + "/A/Song.MP3\n2\tb\t" + m + "/b.mp3\n"},
      {{"scan", tree.Root() + "/music/"}, "1\tSong\t" + m + "/A/Song.MP3\n2\tb\t" + m + "/b.mp3\n"},
      {{"scan", m, "--ext", "wav"},
       "1\tx\t" + m + "/A/x.wav\n2\t\\x1b]0;x\\x07\\x0anew\t" + m + "/C/\\x1b]0;x\\x07\\x0anew.wav\n"},
      {{"scan", "-0", m, "--ext", "wav"},
       "1\tx\t" + m + "/A/x.wav" + nul + "2\t\x1b]0;x\x07\nnew\t" + m + "/C/\x1b]0;x\x07\nnew.wav" + nul},
      {{"scan", "--ext", "ogg", m}, ""},
  };
  for (const auto& c : cases) {
    const ToolRun run = Tool(&RunScanTool, c.arguments);
    EXPECT_EQ(run.status, 0) << c.arguments[1];
    EXPECT_EQ(run.out, c.out) << c.arguments[1];
    EXPECT_EQ(run.err, "");
  }
}

TEST(ScanTool, RefusesBadArgumentsAndMissingDirectories) {
  TempTree tree;
  const std::string file = tree.File("f.mp3");
  const struct {
    std::vector<std::string> arguments;
    int status;
  } cases[] = {
      {{"scan"}, 2},
      {{"scan", tree.Root(), "--ext"}, 2},
      {{"scan", tree.Root(), "--ext", ""}, 2},
      {{"scan", tree.Root(), "--bogus"}, 2},
      {{"scan", tree.Root(), tree.Root()}, 2},
      {{"scan", tree.Path("missing")}, 1},
      {{"scan", file}, 1},
  };
  for (const auto& c : cases) {
    const ToolRun run = Tool(&RunScanTool, c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments.size();
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
  }
}

TEST(TagsTool, PrintsTheFieldsTheBitRateAndTheSize) {
  TempTree tree;
  std::string bytes = "\xFF\xFB\x90";
  bytes.resize(5000, '\0');
  std::string title = "Song", artist = "Band", album = "", year = "1999", comment = "ok";
  title.resize(30, '\0');
  artist.resize(30, ' ');
  album.resize(30, '\0');
  comment.resize(30, '\0');
  bytes += "TAG" + title + artist + album + year + comment + '\x01';
  const std::string path = tree.Bytes("song.mp3", bytes);  // 5128 bytes
  const ToolRun run = Tool(&RunTagsTool, {"tags", path});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "title\tSong\nartist\tBand" + std::string(26, ' ') +
                         "\nalbum\t\nyear\t1999\ncomment\tok\nkbit\t128\nsize\t5.01 kb\n");
  // No frame header at the start, and a title that would drive the terminal
  // (its bytes are Windows-1252: 0x9B is "›").
  bytes.replace(0, 3, "abc");
  bytes.replace(bytes.size() - 125, 5, "\x1b[2J\x9b");
  const ToolRun plain = Tool(&RunTagsTool, {"tags", tree.Bytes("plain.mp3", bytes)});
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out, "title\t\\x1b[2J\xE2\x80\xBA\nartist\tBand" + std::string(26, ' ') +
                           "\nalbum\t\nyear\t1999\ncomment\tok\nkbit\tno MPEG audio header\nsize\t5.01 kb\n");
}

TEST(TagsTool, AMissingFileOrBadArguments) {
  TempTree tree;
  const ToolRun missing = Tool(&RunTagsTool, {"tags", tree.Path("none.mp3")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "wavecrest tags: " + tree.Path("none.mp3") + ": not a file that can be read\n");
  for (const auto& arguments : {std::vector<std::string>{"tags"}, std::vector<std::string>{"tags", "a", "b"}}) {
    const ToolRun run = Tool(&RunTagsTool, arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
  }
}

}  // namespace
}  // namespace wavecrest
