#include "commands/library.h"

#include "support/scenario.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace wavecrest {
namespace {

using testing::Scenario;
using testing::TempTree;
using Lines = std::vector<std::string>;

constexpr const char* kSearching = "> please wait while wavecr<u>e</u>st is searching... ";
constexpr const char* kCloseMatches = "> make a selection, or close the matches window ";

// A music tree whose directory names are not lower case, as chat arguments are.
struct Tree {
  TempTree tree;
  std::string music;  // the lower-cased argument naming <root>/Music/
  Tree() {
    tree.File("Music/One.mp3");
    tree.File("Music/Sub/Two.MP3");
    tree.File("Music/Sub/three.wav");
    tree.File("OnlyDirs/Inner/x.mp3");
    tree.File("Waves/a.wav");
    music = tree.Root() + "/music/";
  }
};

TEST(Dir, AnswersEachCaseExactly) {
  Tree m;
  const std::string root = m.tree.Root();
  const struct {
    std::string argument;
    bool matchesShown;
    Lines bodies;
    bool accepted;
  } cases[] = {
      {m.music, false, {kSearching, "> directory <b>" + m.music + "</b> set, total <b>2</b> mp3s "}, true},
      {root + "/waves/", false, {kSearching, "> directory <b>" + root + "/waves/</b> set, total <b>0</b> mp3s "}, true},
      {root + "/music", false, {"> directory <b>" + root + "/music</b> is invalid "}, false},  // no trailing "/"
      {root + "/onlydirs/", false, {"> directory <b>" + root + "/onlydirs/</b> is invalid "}, false},
      {root + "/missing/", false, {"> directory <b>" + root + "/missing/</b> is invalid "}, false},
      {m.music, true, {kCloseMatches}, false},
      {root + "/missing/", true, {kCloseMatches}, false},  // the matches window is answered first
  };
  for (const auto& c : cases) {
    Scenario s;
    s.bot().form1.lblExt = "mp3";
    s.bot().form1.lblDir = "/old/";
    s.bot().form1.List2.items = {"old"};
    s.bot().form1.List3.items = {"/old/old.mp3"};
    s.bot().form2.visible = c.matchesShown;
    s.MemberSays("dir " + c.argument);
    EXPECT_EQ(s.Bodies(), c.bodies) << c.argument;
    EXPECT_EQ(s.bot().form1.lblDir, c.accepted ? c.argument : "/old/") << c.argument;
    EXPECT_EQ(s.bot().ReadSetting("directory"), c.accepted ? c.argument : "") << c.argument;
    if (!c.accepted) {
      EXPECT_EQ(s.bot().form1.List3.items, Lines{"/old/old.mp3"}) << c.argument;
    }
  }
}

TEST(Dir, TheLibraryHoldsTheFilesAsTheFileSystemNamesThem) {
  Tree m;
  Scenario s;
  s.bot().form1.lblExt = "mp3";
  s.MemberSays("dir " + m.music);
  EXPECT_EQ(s.bot().form1.List3.items,
            (Lines{m.tree.Path("Music/One.mp3"), m.tree.Path("Music/Sub/Two.MP3")}));
  EXPECT_EQ(s.bot().form1.List2.items, (Lines{"One", "Two"}));
}

// Fires half a second into the command: after the scan, during the wait.
struct DuringTheWait {
  explicit DuringTheWait(Scenario& s, std::function<void()> check) {
    timer = s.t.loop.CreateTimer(std::chrono::milliseconds(500), [this, check] {
      if (fired++ == 0) check();
    });
    timer->SetEnabled(true);
  }
  std::unique_ptr<Timer> timer;
  int fired = 0;
};

TEST(Dir, SavesTheDirectoryThenWaitsThenReplies) {
  Tree m;
  Scenario s;
  s.bot().form1.lblExt = "mp3";
  const double start = s.t.loop.Now();
  DuringTheWait probe(s, [&] {
    EXPECT_EQ(s.bot().ReadSetting("directory"), m.music);
    EXPECT_EQ(s.Bodies(), Lines{kSearching});
  });
  s.MemberSays("dir " + m.music);
  EXPECT_GE(probe.fired, 1);
  EXPECT_EQ(s.Bodies().size(), 2U);
  EXPECT_GE(s.t.loop.Now() - start, 0.5);
}

TEST(DirQuery, TellsTheDirectoryAsSet) {
  const struct {
    const char* dir;
    const char* body;
  } cases[] = {
      {"", "> there is no directory set "},
      {"/home/me/music/", "> current directory: <b>/home/me/music/</b> "},
  };
  for (const auto& c : cases) {
    Scenario s;
    s.bot().form1.lblDir = c.dir;
    s.MemberSays("dir?");
    EXPECT_EQ(s.Bodies(), Lines{c.body});
  }
}

TEST(Ref, AnswersEachCaseExactly) {
  Tree m;
  const struct {
    bool libraryFilled;
    bool matchesShown;
    Lines bodies;
  } cases[] = {
      {false, false, {"> please select a directory "}},  // lblDir is set, but the library is empty
      {false, true, {"> please select a directory "}},
      {true, true, {kCloseMatches}},
      {true, false,
       {"> please wait while wavecr<u>e</u>st is refreshing... ",
        "> refreshed <b>" + m.music + "</b>, total <b>3</b> mp3s "}},
  };
  for (const auto& c : cases) {
    Scenario s;
    s.bot().form1.lblExt = "mp3";
    s.bot().form1.lblDir = m.music;
    if (c.libraryFilled) s.bot().form1.List3.items = {"/stale.mp3"};
    s.bot().form2.visible = c.matchesShown;
    m.tree.File("Music/Sub/New.mp3");  // found only by a refresh
    s.MemberSays("ref");
    EXPECT_EQ(s.Bodies(), c.bodies);
    if (c.libraryFilled && !c.matchesShown) {
      EXPECT_EQ(s.bot().form1.List2.items, (Lines{"One", "New", "Two"}));
    } else {
      EXPECT_EQ(s.bot().form1.List3.ListCount(), c.libraryFilled ? 1 : 0);
    }
  }
}

TEST(Ext, AnswersEachCaseExactly) {
  Tree m;
  const struct {
    std::string current;
    std::string line;
    Lines bodies;
    std::string extension;  // after the command
  } cases[] = {
      {"mp3", "ext mp3", {"> current file extension: <b>mp3</b> "}, "mp3"},
      {"mp3", "ext ogg", {"> invalid extension, must be <b>mp3</b>, <b>wav</b>, or <b>wma</b> "}, "mp3"},
      {"mp3", "ext wav ", {"> invalid extension, must be <b>mp3</b>, <b>wav</b>, or <b>wma</b> "}, "mp3"},
      {"mp3", "ext WAV", {kSearching, "> file extension <b>wav</b> set, total <b>1</b> wavs found "}, "wav"},
      {"wav", "ext mp3", {kSearching, "> file extension <b>mp3</b> set, total <b>2</b> mp3s found "}, "mp3"},
      {"mp3", "ext wma", {kSearching, "> file extension <b>wma</b> set, total <b>0</b> wmas found "}, "wma"},
  };
  for (const auto& c : cases) {
    Scenario s;
    s.bot().form1.lblExt = c.current;
    s.bot().form1.lblDir = m.music;
    s.bot().form2.visible = true;  // ext does not look at the matches window
    s.MemberSays(c.line);
    EXPECT_EQ(s.Bodies(), c.bodies) << c.line;
    EXPECT_EQ(s.bot().form1.lblExt, c.extension) << c.line;
    const bool changed = c.extension != c.current;
    EXPECT_EQ(s.bot().ReadSetting("ext"), changed ? c.extension : "") << c.line;
    EXPECT_EQ(s.bot().form1.caption, changed ? "wavecrest system - 0.0.8 - " + c.extension : "wavecrest system - 0.0.8")
        << c.line;
  }
}

TEST(Ext, RebuildsTheCommandListAndTheLibraryWithTheNewExtension) {
  Tree m;
  Scenario s;
  s.bot().form1.lblExt = "mp3";
  s.bot().form1.lblDir = m.music;
  s.MemberSays("ext wav");
  const auto& commands = s.bot().form1.List1.items;
  EXPECT_NE(std::find(commands.begin(), commands.end(), "wavs [get total wav count from directory]"), commands.end());
  EXPECT_EQ(std::find(commands.begin(), commands.end(), "mp3s [get total mp3 count from directory]"), commands.end());
  EXPECT_EQ(s.bot().form1.List3.items, Lines{m.tree.Path("Music/Sub/three.wav")});
  EXPECT_EQ(s.bot().form1.List2.items, Lines{"three"});
}

TEST(Ext, SavesBeforeTheFirstReply) {
  Tree m;
  Scenario s;
  s.bot().form1.lblExt = "mp3";
  s.bot().form1.lblDir = m.music;
  DuringTheWait probe(s, [&] {
    EXPECT_EQ(s.bot().ReadSetting("ext"), "wav");
    EXPECT_EQ(s.Bodies(), Lines{kSearching});
  });
  s.MemberSays("ext wav");
  EXPECT_GE(probe.fired, 1);
}

TEST(ExtQuery, TellsTheExtension) {
  Scenario s;
  s.bot().form1.lblExt = "wma";
  s.MemberSays("ext?");
  EXPECT_EQ(s.Bodies(), Lines{"> current set file extension: <b>wma</b> "});
}

TEST(Counts, AnswerOnlyForTheCurrentExtension) {
  const struct {
    const char* extension;
    int count;
    const char* line;
    Lines bodies;
  } cases[] = {
      {"mp3", 0, "mp3s", {"> currently there are <b>0</b> mp3s total "}},
      {"mp3", 3, "mp3s", {"> currently there are <b>3</b> mp3s total "}},
      {"wav", 2, "wavs", {"> currently there are <b>2</b> wavs total "}},
      {"wma", 1, "wmas", {"> currently there are <b>1</b> wmas total "}},
      {"wav", 2, "mp3s", {}},
      {"mp3", 2, "wavs", {}},
      {"mp3", 2, "wmas", {}},
      {"ogg", 2, "mp3s", {}},
  };
  for (const auto& c : cases) {
    Scenario s;
    s.bot().form1.lblExt = c.extension;
    s.bot().form1.List2.items.assign(static_cast<std::size_t>(c.count), "x");
    s.MemberSays(c.line);
    EXPECT_EQ(s.Bodies(), c.bodies) << c.extension << " " << c.line;
  }
}

TEST(Dir, ACommandDuringTheScanOrWaitSeesOneCompleteLibrary) {
  Tree m;
  Scenario s;
  s.bot().form1.lblExt = "mp3";
  // A second `dir` arrives while the first is still at work; each reply
  // counts a library that one complete scan built.
  s.t.loop.Post([&] { s.MemberSays("dir " + m.tree.Root() + "/music/sub/"); });
  s.MemberSays("dir " + m.music);
  const Lines bodies = s.Bodies();
  ASSERT_EQ(bodies.size(), 4U);
  EXPECT_EQ(bodies[2], "> directory <b>" + m.tree.Root() + "/music/sub/</b> set, total <b>1</b> mp3s ");
  EXPECT_EQ(bodies[3], "> directory <b>" + m.tree.Root() + "/music/sub/</b> set, total <b>1</b> mp3s ");
  EXPECT_EQ(s.bot().form1.List3.items, Lines{m.tree.Path("Music/Sub/Two.MP3")});
  EXPECT_EQ(s.bot().ReadSetting("directory"), m.tree.Root() + "/music/sub/");
}

}  // namespace
}  // namespace wavecrest
