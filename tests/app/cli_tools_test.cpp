#include "app/cli/tools.h"

#include "app/tags/taglib_tag_reader.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
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

// The tags tool with TagLib at hand, as the program has it once loaded.
int TagsTool(int argc, char** argv, std::ostream& out, std::ostream& err) {
  TagLibTagReader tags;
  return RunTagsTool(argc, argv, tags, out, err);
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
  const ToolRun run = Tool(&TagsTool, {"tags", path});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "title\tSong\nartist\tBand" + std::string(26, ' ') +
                         "\nalbum\t\nyear\t1999\ncomment\tok\nkbit\t128\nsize\t5.01 kb\n");
  // No frame header at the start, and a title that would drive the terminal
  // (its bytes are Windows-1252: 0x9B is "›").
  bytes.replace(0, 3, "abc");
  bytes.replace(bytes.size() - 125, 5, "\x1b[2J\x9b");
  const ToolRun plain = Tool(&TagsTool, {"tags", tree.Bytes("plain.mp3", bytes)});
  EXPECT_EQ(plain.status, 0);
  EXPECT_EQ(plain.out, "title\t\\x1b[2J\xE2\x80\xBA\nartist\tBand" + std::string(26, ' ') +
                           "\nalbum\t\nyear\t1999\ncomment\tok\nkbit\tno MPEG audio header\nsize\t5.01 kb\n");
}

TEST(TagsTool, AMissingFileOrBadArguments) {
  TempTree tree;
  const ToolRun missing = Tool(&TagsTool, {"tags", tree.Path("none.mp3")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "wavecrest tags: " + tree.Path("none.mp3") + ": not a file that can be read\n");
  for (const auto& arguments : {std::vector<std::string>{"tags"}, std::vector<std::string>{"tags", "a", "b"}}) {
    const ToolRun run = Tool(&TagsTool, arguments);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
  }
}


// Three seconds of a tone, encoded by ffmpeg with `options` into `path`.
bool Encode(const std::string& path, const std::string& options) {
  const std::string command = "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i sine=f=440:d=3 "
                              "-c:a libmp3lame " + options + " '" + path + "'";
  return std::system(command.c_str()) == 0;
}

// The stream's bit rate as ffprobe tells it, in kbit/s.
double FfprobeKbps(const std::string& path) {
  const std::string command = "ffprobe -v error -select_streams a:0 -show_entries stream=bit_rate "
                              "-of default=nw=1:nk=1 '" + path + "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::array<char, 64> line{};
  const bool read = pipe != nullptr && std::fgets(line.data(), line.size(), pipe) != nullptr;
  if (pipe != nullptr) ::pclose(pipe);
  return read ? std::atof(line.data()) / 1000 : -1;
}

// What the tool prints before the size, which depends on the encoder's version.
std::string BeforeTheSize(const std::string& out) { return out.substr(0, out.rfind("size\t")); }

std::string SyncSafe(std::size_t size) {
  std::string bytes;
  for (const int shift : {21, 14, 7, 0}) bytes += static_cast<char>(size >> shift & 0x7F);
  return bytes;
}

TEST(TagsTool, MusicFilesAsPeopleHaveThem) {
  if (std::system("command -v ffmpeg >/dev/null") != 0) GTEST_SKIP() << "ffmpeg makes the test files";
  TempTree tree;
  const std::string v2Fields = "-metadata artist='Mira Sol' -metadata album='Canyon Songs' -metadata date=2011 "
                               "-metadata comment=remastered ";
  const struct {
    const char* name;
    std::string options;
    std::string shown;
  } cases[] = {
      {"v24.mp3", "-ar 44100 -b:a 128k -id3v2_version 4 -metadata title='Caf\xC3\xA9' " + v2Fields,
       "title\tCaf\xC3\xA9\nartist\tMira Sol\nalbum\tCanyon Songs\nyear\t2011\ncomment\tremastered\nkbit\t128\n"},
      // ffmpeg writes text that is not ASCII into a 2.3 tag as UTF-16.
      {"v23.mp3", "-ar 44100 -ac 1 -b:a 64k -id3v2_version 3 -metadata title='\xC3\x9Cn\xC3\xAF' " + v2Fields,
       "title\t\xC3\x9Cn\xC3\xAF\nartist\tMira Sol\nalbum\tCanyon Songs\nyear\t2011\ncomment\tremastered\nkbit\t64\n"},
      // Both tags: the ID3v1 one, whose title holds 30 characters only.
      {"both.mp3", "-ar 44100 -ac 1 -b:a 96k -id3v2_version 3 -write_id3v1 1 "
                   "-metadata title='A Title Longer Than Thirty Characters' -metadata artist='Mira Sol'",
       "title\tA Title Longer Than Thirty Cha\nartist\tMira Sol\nalbum\t\nyear\t\ncomment\t\nkbit\t96\n"},
      // Constant rates without a Xing frame: the first frame's own header.
      {"mpeg2.mp3", "-ar 22050 -ac 1 -b:a 48k -write_xing 0 -id3v2_version 0",
       "title\tn/a\nartist\tn/a\nalbum\tn/a\nyear\tn/a\ncomment\tn/a\nkbit\t48\n"},
      {"mpeg1.mp3", "-ar 32000 -ac 1 -b:a 32k -write_xing 0 -id3v2_version 0",
       "title\tn/a\nartist\tn/a\nalbum\tn/a\nyear\tn/a\ncomment\tn/a\nkbit\t32\n"},
  };
  for (const auto& c : cases) {
    const std::string path = tree.Path(c.name);
    ASSERT_TRUE(Encode(path, c.options)) << c.name;
    const ToolRun run = Tool(&TagsTool, {"tags", path});
    EXPECT_EQ(run.status, 0) << c.name;
    EXPECT_EQ(BeforeTheSize(run.out), c.shown) << c.name;
  }
  // A variable rate: the average the file's Xing frame gives.
  const std::string vbr = tree.Path("vbr.mp3");
  ASSERT_TRUE(Encode(vbr, "-ar 44100 -q:a 2"));
  const ToolRun run = Tool(&TagsTool, {"tags", vbr});
  const std::size_t kbit = run.out.find("kbit\t");
  ASSERT_NE(kbit, std::string::npos) << run.out;
  EXPECT_NEAR(std::atof(run.out.c_str() + kbit + 5), FfprobeKbps(vbr), 3) << run.out;
}

TEST(TagsTool, BrokenTagsAndGarbageGiveNoRate) {
  TempTree tree;
  const std::string title = "TIT2" + SyncSafe(9) + std::string(2, '\0') + "\x03Past End";
  // A 2.4 frame unsynchronised on its own (flag 0x02): FF E0 carries a 00 between.
  const std::string unsync = "TIT2" + SyncSafe(7) + std::string("\0\x02\0\xFF\0\xE0 ok", 9);
  std::minstd_rand random(23);
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(random() % 0xFF);  // never a sync byte
  const struct {
    const char* name;
    std::string bytes;
    std::string title;
  } cases[] = {
      {"past.mp3", std::string("ID3\x04\0\0\x7F\x7F\x7F\x7F", 10) + title + std::string(300, '\0'), "Past End"},
      {"unsync.mp3", std::string("ID3\x04\0\0", 6) + SyncSafe(unsync.size()) + unsync + std::string(300, '\0'),
       "\xC3\xBF\xC3\xA0 ok"},
      {"garbage.mp3", garbage, "n/a"},
  };
  for (const auto& c : cases) {
    const ToolRun run = Tool(&TagsTool, {"tags", tree.Bytes(c.name, c.bytes)});
    EXPECT_EQ(run.status, 0) << c.name;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "title\t" + c.title) << c.name;
    EXPECT_NE(run.out.find("\nkbit\tno MPEG audio header\n"), std::string::npos) << c.name << run.out;
  }
}

}  // namespace
}  // namespace wavecrest
