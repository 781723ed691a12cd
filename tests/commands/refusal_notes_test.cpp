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
  s.t.player.Open(MusicPath("first"));
  s.bot().form1.List3.listIndex = s.bot().form1.List2.listIndex = 0;
  s.bot().form1.lblSong = "first";
}

void PlayingSilently(Scenario& s) {
  Playing(s);
  s.bot().form1.lblSi = "on";
}

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
  };
  std::vector<std::string> notes;
  SetDiagnosticSink([&notes](std::string_view note) { notes.emplace_back(note); });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    Scenario s;
    LoadLibrary(s, {"first", "second"});
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
