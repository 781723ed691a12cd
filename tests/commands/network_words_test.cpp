// What a member on a network has instead of clicks and a window: the
// matches window's words, and a private help.
#include "commands/help.h"
#include "commands/status.h"

#include "playback/music_library.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::MusicPath;
using testing::Scenario;
using Lines = std::vector<std::string>;

TEST(NetworkWords, MatchesPostsTheListAndPickPlaysARow) {
  Scenario s(RoomKind::kNetwork);
  LoadLibrary(s, {"intro", "song 1", "song 2", "song 3"});
  s.MemberSays("p song");
  s.TakeBodies();
  s.MemberSays("matches");
  EXPECT_EQ(s.TakeBodies(), (Lines{"> 1 - <b>song 1</b> ", "> 2 - <b>song 2</b> ", "> 3 - <b>song 3</b> "}));
  for (const char* nothing : {"pick 4", "pick 0", "pick two", "pick -1", "pick 99999999999999999999"}) {
    s.MemberSays(nothing);
    EXPECT_TRUE(s.TakeBodies().empty()) << nothing;
  }
  s.MemberSays("pick  2 ");
  EXPECT_EQ(s.TakeBodies(), (Lines{"> playing #3 - <b>song 2</b> "}));
  EXPECT_EQ(s.t.player.fileName, MusicPath("song 2"));
  EXPECT_FALSE(s.bot().form2.visible);
  s.MemberSays("pick 1");
  EXPECT_TRUE(s.TakeBodies().empty()) << "the window is hidden: nothing to pick from";
}

// Without a network the command list, its count and the answers are as
// they always were.
TEST(NetworkWords, OnlyOnANetwork) {
  for (const RoomKind room : {RoomKind::kLocal, RoomKind::kNetwork}) {
    Scenario s(room);
    LoadLibrary(s, {"song 1", "song 2"});
    BuildCommandList(s.bot());
    const bool network = room == RoomKind::kNetwork;
    EXPECT_EQ(s.bot().form1.List1.ListCount(), network ? 44 : 42);
    s.MemberSays("p song");
    s.TakeBodies();
    s.MemberSays("pick 1");
    EXPECT_EQ(s.TakeBodies().size(), network ? 1u : 0u);
  }
}

TEST(PrivateHelp, TheWordsOrOneCommandsLine) {
  Scenario s(RoomKind::kNetwork);
  s.bot().form1.lblExt = "wav";
  const std::string words = PrivateHelpText(s.bot(), "");
  EXPECT_TRUE(words.starts_with("commands: .trig? exit adv r dir dir? coms ")) << words;
  EXPECT_NE(words.find(" wavs vol "), std::string::npos) << "the count words as the extension's, once: " << words;
  EXPECT_NE(words.find(" time? matches pick; help WORD tells more"), std::string::npos) << words;
  s.bot().form1.Trig = "!";
  const struct {
    const char* word;
    const char* answer;
  } cases[] = {
      {"p", "!p x [play a song, x as string]"},
      {"!vol?", "!vol? [get current set volume]"},
      {".trig?", ".trig? [default command to get trigger]"},
      {"wavs", "!wavs [get total wav count from directory]"},
      {"dance", "no command dance; help lists them"},
  };
  for (const auto& c : cases) EXPECT_EQ(PrivateHelpText(s.bot(), c.word), c.answer) << c.word;
  EXPECT_NE(PrivateHelpText(s.bot(), "").find("(say them after the trigger !)"), std::string::npos);
}

}  // namespace
}  // namespace wavecrest
