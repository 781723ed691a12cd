// A member's line that a handler leaves unanswered says why, for --verbose,
// in the room's own words where the room has them; the room hears nothing.
#include "core/diagnostics.h"
#include "playback/music_library.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace wavecrest {
namespace {

using testing::LoadLibrary;
using testing::MusicPath;
using testing::Scenario;

void Nothing(Scenario&) {}

// The library's first song is loaded and current.
void Playing(Scenario& s) {
  s.t.player.Open(MusicPath("first song"));
  s.bot().form1.List3.listIndex = s.bot().form1.List2.listIndex = 0;
  s.bot().form1.lblSong = "first song";
}

void PlayingSilently(Scenario& s) {
  Playing(s);
  s.bot().form1.lblSi = "on";
}

// Both songs match: the matches window shows them.
void Matches(Scenario& s) { s.MemberSays("p song"); }

TEST(RefusalNotes, EveryLineAHandlerLeavesUnansweredSaysWhy) {
  const struct {
    std::function<void(Scenario&)> before;
    const char* line;
    const char* note;
  } cases[] = {
      {Nothing, "pause", "no currently song is playing"},
      {Nothing, "stop", "no currently song is playing"},
      {Nothing, "mute", "no currently song is playing"},
      {Nothing, "song", "no currently song is playing"},
      {Nothing, "skip 5", "no currently song is playing"},
      {Playing, "skip", R"(invalid skip length: no number of seconds after "skip")"},
      {Playing, "skip   ", R"(invalid skip length: no number of seconds after "skip")"},
      {Playing, "skip abc", R"(invalid skip length: "abc" is not a number)"},
      {[](Scenario& s) { Playing(s), s.t.player.position = -5; }, "skip 5",
       "skipped, but the player's position reads back as 0"},
      {Nothing, "vol", R"(invalid volume, must be from 1-100: no number after "vol")"},
      {Nothing, "vol   ", R"(invalid volume, must be from 1-100: no number after "vol")"},
      {PlayingSilently, "pause", R"(silent mp3 play is on: "pause #1" is not said)"},
      {PlayingSilently, "stop", R"(silent mp3 play is on: "stop #1" is not said)"},
      {PlayingSilently, "mute", R"(silent mp3 play is on: "mute #1" is not said)"},
      {PlayingSilently, "next", R"(silent mp3 play is on: "next #2" is not said)"},
      {PlayingSilently, "prev", R"(silent mp3 play is on: "previous #2" is not said)"},
      {PlayingSilently, "p second", R"(silent mp3 play is on: "playing #2" is not said)"},
      {[](Scenario& s) { s.MemberSays("idle away"); }, "idle brb",
       R"(already idle (reason "away"): idleoff ends it first)"},
      {Nothing, "idleoff", "idle is not on"},
      {[](Scenario& s) { s.bot().form1.Text1 = "ab"; }, "coms",
       R"(the screen-name box holds no screen name ("ab"): the window stays, and a message box asks for one)"},
      {Nothing, "matches", R"(there is no matches window: "p x" with several matches opens one)"},
      {Nothing, "pick 1", R"(there is no matches window: "p x" with several matches opens one)"},
      {Matches, "pick 3", "the matches window's rows are 1 to 2"},
      {Matches, "pick two", "the matches window's rows are 1 to 2"},
      {[](Scenario& s) { Matches(s), s.MemberSays("pick 1"); }, "pick 2",
       "the matches window is hidden: a song was picked from it already"},
      {[](Scenario& s) { Matches(s), s.bot().form1.List2.items[1] = "renamed"; }, "pick 2",
       "the library was rebuilt since the matches were found: row 2 names none of its songs now"},
      {[](Scenario& s) { Matches(s), s.bot().form1.lblSi = "on"; }, "pick 1",
       "silent mp3 play is on: the picked song is not announced"},
      {[](Scenario& s) { s.bot().stream = nullptr; }, "listen", "nothing is streamed in this run (--stream)"},
  };
  std::vector<std::string> notes;
  SetDiagnosticSink([&notes](std::string_view note) { notes.emplace_back(note); });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Scenario s(RoomKind::kNetwork, StreamCommands::With);  // every word there is
    LoadLibrary(s, {"first song", "second song"});
    c.before(s);
    s.TakeBodies();
    notes.clear();
    s.MemberSays(c.line);
    EXPECT_TRUE(s.Bodies().empty());
    EXPECT_EQ(notes, std::vector<std::string>{"no answer to \"" + std::string(c.line) + "\": " + c.note});
  }
  SetDiagnosticSink(nullptr);
}

}  // namespace
}  // namespace wavecrest
