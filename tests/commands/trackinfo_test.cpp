#include "commands/trackinfo.h"

#include "playback/music_library.h"
#include "playback/play_entry.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace wavecrest {
namespace {

using testing::Scenario;
using testing::TempTree;
using Lines = std::vector<std::string>;

constexpr const char* kNoSong = "> no currently song is playing ";

std::string Field(std::string text, std::size_t width, char pad) {
  text.resize(width, pad);
  return text;
}

// A tiny MP3-like file: a frame header saying 128 kbit/s, silence, and an
// ID3v1 tag at its end; 4096 bytes in all.
std::string TaggedMp3(const std::string& title, const std::string& artist, const std::string& album,
                      const std::string& year, const std::string& comment, char pad = ' ') {
  std::string bytes = "\xFF\xFB\x90";
  bytes.resize(4096 - 128, '\0');
  bytes += "TAG" + Field(title, 30, pad) + Field(artist, 30, pad) + Field(album, 30, pad) + Field(year, 4, pad) +
           Field(comment, 30, pad) + std::string(1, '\x0c');
  return bytes;
}

// One file as the library's only entry, started and playing.
struct Playing {
  TempTree tree;
  Scenario s;
  std::string path;
  Playing(const std::string& name, const std::string& bytes, const std::string& ext = "mp3", double length = 185.2) {
    path = tree.Bytes(name + "." + ext, bytes);
    Form1& f = s.bot().form1;
    f.lblExt = ext;
    f.List3.items = {path};
    f.List2.items = {name};
    s.t.player.durations[path] = length;
    PlayEntry(s.bot(), 0, "> playing #", CallerKind::Command);
    s.TakeBodies();
  }
};

TEST(Id3, NothingPlayingGetsOneLine) {
  const struct {
    const char* name;
    void (*setUp)(Scenario&);
  } cases[] = {
      {"nothing loaded", [](Scenario&) {}},
      {"stopped", [](Scenario& s) { s.t.player.playState = PlayStateValue::Stopped; }},
      {"no song name", [](Scenario& s) { s.bot().form1.lblSong.clear(); }},
      {"player unreadable", [](Scenario& s) { s.t.player.failReads = true; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Playing p("song", TaggedMp3("t", "a", "b", "1999", "c"));
    if (std::string(c.name) == "nothing loaded") testing::NothingLoaded(p.s);
    c.setUp(p.s);
    p.s.MemberSays("id3");
    EXPECT_EQ(p.s.Bodies(), (Lines{kNoSong}));
  }
}

TEST(Id3, Mp3AnswerInThreeLines) {
  Playing p("song", TaggedMp3("Night Drive", "The Band", "First", "1999", "best one", '\0'));
  p.s.t.player.playState = PlayStateValue::Paused;  // paused counts as playing
  p.s.MemberSays("id3");
  EXPECT_EQ(p.s.Bodies(), (Lines{"> artist: <b>The Band</b> - title: <b>Night Drive</b> ",
                                 "> album: <b>First</b> - length: <b>3:05</b> - size: <b>4</b>kb</b> ",
                                 "> year: <b>1999</b> - kbit: <b>128</b> - comment: <b>best one</b> "}));
  const Form1& f = p.s.bot().form1;
  for (const std::string* label : {&f.lblArtist, &f.lblTitle, &f.lblAlbum, &f.lblYear, &f.lblComment}) {
    EXPECT_EQ(*label, "");
  }
}

TEST(Id3, SpacePaddingIsShownAsStored) {
  Playing p("song", TaggedMp3("Hi", "Duo", "", "1999", ""));
  p.s.MemberSays("id3");
  const Lines bodies = p.s.Bodies();
  ASSERT_FALSE(bodies.empty());
  EXPECT_EQ(bodies[0], "> artist: <b>Duo" + std::string(27, ' ') + "</b> - title: <b>Hi" + std::string(28, ' ') + "</b> ");
}

TEST(Id3, FieldsOfSpacesOrNulsShowNa) {
  Playing p("song", TaggedMp3("Title", "   ", "", "", "", '\0'));
  p.s.MemberSays("id3");
  EXPECT_EQ(p.s.Bodies(), (Lines{"> artist: <b>n/a</b> - title: <b>Title</b> ",
                                 "> album: <b>n/a</b> - length: <b>3:05</b> - size: <b>4</b>kb</b> ",
                                 "> year: <b>n/a</b> - kbit: <b>128</b> - comment: <b>n/a</b> "}));
}

TEST(Id3, AFileWithoutATagShowsNaEverywhere) {
  std::string bytes = "\xFF\xFB\xF0";  // a bit-rate index with no slot
  bytes.resize(2000, '\0');
  Playing p("song", bytes);
  p.s.MemberSays("id3");
  EXPECT_EQ(p.s.Bodies(), (Lines{"> artist: <b>n/a</b> - title: <b>n/a</b> ",
                                 "> album: <b>n/a</b> - length: <b>3:05</b> - size: <b>1.95</b>kb</b> ",
                                 "> year: <b>n/a</b> - kbit: <b></b> - comment: <b>n/a</b> "}));
}

TEST(Id3, AFileWithoutAnId3v1TagShowsItsId3v2TagOnOneLine) {
  std::string bytes = std::string("ID3\x04\0\0\0\0\0\0", 10) + "\xFF\xFB\x90";
  bytes.resize(4096, '\0');
  Playing p("song", bytes);
  p.s.t.tags.tags[p.path] = TagFields{"Mira Sol", "Echo Valley", "", "2011", "first\r\nsecond\tthird"};
  p.s.MemberSays("id3");
  EXPECT_EQ(p.s.Bodies(), (Lines{"> artist: <b>Mira Sol</b> - title: <b>Echo Valley</b> ",
                                 "> album: <b>n/a</b> - length: <b>3:05</b> - size: <b>4</b>kb</b> ",
                                 "> year: <b>2011</b> - kbit: <b>128</b> - comment: <b>first  second third</b> "}));
}

TEST(Id3, OtherFileTypesGetTwoLines) {
  const struct {
    const char* ext;
    Lines bodies;
  } cases[] = {
      {"wav", {"> file name: <b>tune</b> ", "> file type: <b>wav</b> - length: <b>1:00</b> - size: <b>700</b>bytes</b> "}},
      {"MP3", {"> file name: <b>tune</b> ", "> file type: <b>MP3</b> - length: <b>1:00</b> - size: <b>700</b>bytes</b> "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ext);
    Playing p("tune", std::string(700, 'x'), c.ext, 60);
    p.s.MemberSays("id3");
    EXPECT_EQ(p.s.Bodies(), c.bodies);
  }
}

TEST(Id3, AFileGoneFromDiskLeavesOutTheSizeLineOnly) {
  Playing p("song", TaggedMp3("t", "a", "b", "1999", "c"));
  std::filesystem::remove(p.path);
  p.s.MemberSays("id3");
  EXPECT_EQ(p.s.Bodies(), (Lines{"> artist: <b>n/a</b> - title: <b>n/a</b> ",
                                 "> year: <b>n/a</b> - kbit: <b></b> - comment: <b>n/a</b> "}));
  EXPECT_EQ(p.s.bot().form1.lblArtist, "");
}

TEST(Id3, ANestedId3DuringTheWaitDoesNotBlankTheOuterAnswer) {
  Playing p("song", TaggedMp3("T", "A", "B", "2000", "C", '\0'));
  bool nested = false;
  p.s.t.chat.onSend = [&] {
    if (nested) return;
    nested = true;
    p.s.t.loop.Post([&] { p.s.MemberSays("id3"); });
  };
  p.s.MemberSays("id3");
  const Lines bodies = p.s.Bodies();
  ASSERT_EQ(bodies.size(), 6u);
  EXPECT_EQ(std::count(bodies.begin(), bodies.end(), "> year: <b>2000</b> - kbit: <b>128</b> - comment: <b>C</b> "), 2);
}

TEST(Id3, TrailingTextIsDropped) {
  Playing p("song", TaggedMp3("t", "a", "b", "1999", "c"));
  p.s.MemberSays("id3 ");
  p.s.MemberSays("id3 now");
  EXPECT_TRUE(p.s.Bodies().empty());
}

TEST(ShownTagField, CutsAtTheFirstNulAndFallsBackToNa) {
  const struct {
    std::string field, shown;
  } cases[] = {
      {"Band" + std::string(26, '\0'), "Band"},
      {std::string("Ba\0nd", 5), "Ba"},
      {std::string(30, ' '), "n/a"},
      {std::string(30, '\0'), "n/a"},
      {"  \0xyz", "n/a"},
      {"\t\r\n", "n/a"},  // control characters are not text
      {"n/a", "n/a"},
      {" x ", " x "},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownTagField(c.field), c.shown);
}

}  // namespace
}  // namespace wavecrest
