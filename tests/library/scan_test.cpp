#include "library/scan.h"

#include "app/files/posix_directory_reader.h"
#include "core/diagnostics.h"

#include "support/fakes.h"
#include "support/memory_directories.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace wavecrest {
namespace {

using testing::TempTree;
using testing::TestBot;

// The walk over the real file system the trees are made in.
PosixDirectoryReader reader;

// The notes left for --verbose while it lives.
class CapturedNotes {
 public:
  CapturedNotes() {
    SetDiagnosticSink([this](std::string_view note) { notes.emplace_back(note); });
  }
  ~CapturedNotes() { SetDiagnosticSink(nullptr); }
  CapturedNotes(const CapturedNotes&) = delete;
  CapturedNotes& operator=(const CapturedNotes&) = delete;

  std::vector<std::string> notes;
};

// A music tree with files at several depths; only some directories of a
// level have children.
struct MusicTree {
  TempTree tree;
  std::string music;
  MusicTree() {
    for (const char* file : {"Zed.mp3", "apple.mp3", "Été.mp3", "Track.MP3", "track.mp3.bak", "x.mp3x", ".mp3",
                             "song.wav", ".hidden.mp3", ".secret/s.mp3", "Mid/m.mp3", "Mid/Low/l.mp3",
                             "Mid/Low/Bottom/b.mp3", "Flat/f.mp3", "Flat/f.wav", "Side/Branch/s2.mp3"}) {
      tree.File(std::string("Music/") + file);
    }
    tree.Dir("Music/Empty");
    music = tree.Path("Music");
  }
  // The library in list-box order: case-insensitive and locale-aware.
  std::vector<std::string> Paths() const {
    std::vector<std::string> paths;
    for (const char* file : {"apple.mp3", "Été.mp3", "Flat/f.mp3", "Mid/Low/Bottom/b.mp3", "Mid/Low/l.mp3",
                             "Mid/m.mp3", "Side/Branch/s2.mp3", "Track.MP3", "track.mp3.bak", "x.mp3x", "Zed.mp3"}) {
      paths.push_back(music + "/" + file);
    }
    return paths;
  }
  static std::vector<std::string> Names() {
    return {"apple", "Été", "f", "b", "l", "m", "s2", "Track", "track.bak", "xx", "Zed"};
  }
};

TEST(ScanLibrary, BuildsTheSortedLibraryWhateverTheDirectoryTextLooksLike) {
  MusicTree m;
  const std::string lowered = m.tree.Root() + "/music";  // chat arguments arrive lower-cased
  for (const std::string& directory : {m.music, m.music + "/", lowered, lowered + "/"}) {
    TestBot t;
    t.bot.form1.lblDir = directory;
    t.bot.form1.lblExt = "mp3";
    ScanLibrary(t.bot);
    EXPECT_EQ(t.bot.form1.List3.items, m.Paths()) << directory;
    EXPECT_EQ(t.bot.form1.List2.items, MusicTree::Names()) << directory;
    EXPECT_EQ(t.bot.form1.lblDir, directory);  // the text itself is kept as given
    EXPECT_EQ(t.mainView.busyPointer, (std::vector<bool>{true, false}));
  }
}

TEST(ScanLibrary, UsesTheCurrentExtension) {
  MusicTree m;
  TestBot t;
  t.bot.form1.lblDir = m.music + "/";
  t.bot.form1.lblExt = "wav";
  ScanLibrary(t.bot);
  EXPECT_EQ(t.bot.form1.List3.items, (std::vector<std::string>{m.music + "/Flat/f.wav", m.music + "/song.wav"}));
  EXPECT_EQ(t.bot.form1.List2.items, (std::vector<std::string>{"f", "song"}));
}

TEST(ScanLibrary, EmptyMissingOrFileRootsGiveAnEmptyLibrary) {
  TempTree tree;
  tree.Dir("empty");
  tree.File("onlyfile.mp3");
  for (const std::string& directory : {tree.Path("empty/"), tree.Path("missing/"), tree.Path("onlyfile.mp3")}) {
    TestBot t;
    t.bot.form1.List2.items = {"old"};
    t.bot.form1.List3.items = {"/old.mp3"};
    t.bot.form1.List3.listIndex = 0;
    t.bot.form1.lblDir = directory;
    t.bot.form1.lblExt = "mp3";
    ScanLibrary(t.bot);
    EXPECT_EQ(t.bot.form1.List2.ListCount(), 0) << directory;
    EXPECT_EQ(t.bot.form1.List3.ListCount(), 0) << directory;
    EXPECT_EQ(t.bot.form1.List3.listIndex, -1) << directory;
  }
}

TEST(ScanLibrary, NoDirectoryLeavesTheListsAlone) {
  TestBot t;
  t.bot.form1.List2.items = {"a"};
  t.bot.form1.List3.items = {"/m/a.mp3"};
  t.bot.form1.lblExt = "mp3";
  ScanLibrary(t.bot);
  EXPECT_EQ(t.bot.form1.List2.items, (std::vector<std::string>{"a"}));
  EXPECT_EQ(t.bot.form1.List3.items, (std::vector<std::string>{"/m/a.mp3"}));
  EXPECT_TRUE(t.mainView.busyPointer.empty());
}

TEST(FindFiles, SymbolicLinkLoopsEndAndEveryRealDirectoryIsListedOnce) {
  TempTree tree;
  tree.File("Music/a.mp3");
  tree.File("Music/Sub/b.mp3");
  tree.File("Outside/o.mp3");
  tree.Link("Music/Sub/up", "..");                  // back to Music
  tree.Link("Music/Sub/self", ".");                 // to itself
  tree.Link("Music/Sub/again", tree.Path("Music"));  // absolute, back to Music
  tree.Link("Music/out1", "../Outside");
  tree.Link("Music/out2", tree.Path("Outside"));    // the same real directory again
  tree.Link("Music/dangling", tree.Path("nothing"));
  const auto found = FindFiles(reader, tree.Path("Music"), "mp3");
  ASSERT_TRUE(found.has_value());
  std::multiset<std::string> names;
  for (const auto& path : *found) names.insert(std::filesystem::path(path).filename().string());
  EXPECT_EQ(names, (std::multiset<std::string>{"a.mp3", "b.mp3", "o.mp3"}));
  EXPECT_TRUE(std::count(found->begin(), found->end(), tree.Path("Music/out1/o.mp3")) +
                  std::count(found->begin(), found->end(), tree.Path("Music/out2/o.mp3")) ==
              1);
}

TEST(FindFiles, ARootReachedThroughALinkIsWalked) {
  TempTree tree;
  tree.File("Real/a.mp3");
  tree.File("Real/Sub/b.mp3");
  tree.Link("Linked", tree.Path("Real"));
  const auto found = FindFiles(reader, tree.Path("Linked/"), "mp3");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, (std::vector<std::string>{tree.Path("Linked/a.mp3"), tree.Path("Linked/Sub/b.mp3")}));
}

TEST(FindFiles, WalksBreadthFirstLevelByLevel) {
  TempTree tree;
  tree.File("M/Deep/Deeper/Deepest/d3.mp3");
  tree.File("M/Deep/Deeper/d2.mp3");
  tree.File("M/Deep/d1.mp3");
  tree.File("M/root.mp3");
  tree.File("M/Other/o1.mp3");
  const auto found = FindFiles(reader, tree.Path("M"), "mp3");
  ASSERT_TRUE(found.has_value());
  ASSERT_EQ(found->size(), 5U);
  EXPECT_EQ((*found)[0], tree.Path("M/root.mp3"));
  const std::set<std::string> level1{(*found)[1], (*found)[2]};
  EXPECT_EQ(level1, (std::set<std::string>{tree.Path("M/Deep/d1.mp3"), tree.Path("M/Other/o1.mp3")}));
  EXPECT_EQ((*found)[3], tree.Path("M/Deep/Deeper/d2.mp3"));
  EXPECT_EQ((*found)[4], tree.Path("M/Deep/Deeper/Deepest/d3.mp3"));
}

TEST(FindFiles, KeepsTheFirstFilesAndDirectoriesUpToTheLimits) {
  TempTree tree;
  for (int i = 0; i < 3; ++i) tree.File("M/r" + std::to_string(i) + ".mp3");
  for (int d = 0; d < 4; ++d) tree.File("M/D" + std::to_string(d) + "/x.mp3");
  tree.File("M/D0/Below/y.mp3");
  const struct {
    WalkLimits limits;
    std::size_t count;
    std::size_t rootFiles;
  } cases[] = {
      {{2, 100}, 2, 2},  // the library is full before the root is done
      {{3, 100}, 3, 3},  // full with the root's files: nothing below is taken
      {{5, 100}, 5, 3},
      {{100, 2}, 5, 3},  // two directories of level 1 kept; D0's child may or may not be among them
      {{100, 100}, 8, 3},
  };
  for (const auto& c : cases) {
    const auto found = FindFiles(reader, tree.Path("M"), "mp3", {}, c.limits);
    ASSERT_TRUE(found.has_value());
    std::size_t rootFiles = 0;
    for (const auto& p : *found) rootFiles += std::filesystem::path(p).parent_path() == tree.Path("M") ? 1 : 0;
    EXPECT_EQ(rootFiles, c.rootFiles) << c.limits.entries << "/" << c.limits.directoriesPerLevel;
    if (c.limits.directoriesPerLevel == 2) {
      // Two level-1 directories, plus D0/Below when D0 was one of them.
      const bool d0Kept = std::count(found->begin(), found->end(), tree.Path("M/D0/x.mp3")) == 1;
      EXPECT_EQ(found->size(), d0Kept ? 6U : 5U);
    } else {
      EXPECT_EQ(found->size(), c.count) << c.limits.entries;
    }
  }
}

TEST(FindFiles, UnreadableDirectoriesAreSkipped) {
  TempTree tree;
  tree.File("M/a.mp3");
  tree.File("M/Locked/hidden-from-us.mp3");
  tree.File("M/Open/b.mp3");
  tree.Lock("M/Locked");
  std::error_code probe;
  std::filesystem::directory_iterator(tree.Path("M/Locked"), probe);
  if (!probe) GTEST_SKIP() << "running with permission to read any directory";
  CapturedNotes captured;
  const auto found = FindFiles(reader, tree.Path("M"), "mp3");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(std::set<std::string>(found->begin(), found->end()),
            (std::set<std::string>{tree.Path("M/a.mp3"), tree.Path("M/Open/b.mp3")}));
  EXPECT_EQ(captured.notes, std::vector<std::string>{"skipped directory " + tree.Path("M/Locked") + "/: Permission denied"});
}

TEST(FindFiles, SaysWhatItSkippedAndWhyForVerbose) {
  TempTree tree;
  tree.File("M/a.mp3");
  tree.File("M/Sub/b.mp3");
  tree.Link("M/gone.mp3", tree.Path("nowhere.mp3"));
  tree.Link("M/Sub/circle", tree.Path("M/Sub/circle"));
  const struct {
    const char* name;
    std::string root;
    std::vector<std::string> found;
    std::vector<std::string> notes;
  } cases[] = {
      {"a missing music directory", tree.Path("Missing/"), {},
       {"skipped directory " + tree.Path("Missing/") + ": No such file or directory"}},
      {"a file given as the directory", tree.Path("M/a.mp3"), {},
       {"skipped directory " + tree.Path("M/a.mp3") + "/: Not a directory"}},
      {"a link to nothing and a link in a circle", tree.Path("M"),
       {tree.Path("M/a.mp3"), tree.Path("M/Sub/b.mp3")},
       {"skipped " + tree.Path("M/gone.mp3") + ": No such file or directory",
        "skipped " + tree.Path("M/Sub/circle") + ": Too many levels of symbolic links"}},
      {"a directory inside the tree", tree.Path("M/Sub"), {tree.Path("M/Sub/b.mp3")},
       {"skipped " + tree.Path("M/Sub/circle") + ": Too many levels of symbolic links"}},
  };
  for (const auto& c : cases) {
    CapturedNotes captured;
    const auto found = FindFiles(reader, c.root, "mp3");
    ASSERT_TRUE(found.has_value()) << c.name;
    EXPECT_EQ(*found, c.found) << c.name;
    EXPECT_EQ(captured.notes, c.notes) << c.name;
  }
}

TEST(FindFiles, PassesOverWhatItCannotListOrTakeOneListingAtATime) {
  using Type = EntryType;
  testing::MemoryDirectories fs;
  fs.listings["/m/"] = {{{"a.mp3", Type::File}, {"pipe.mp3", Type::Other}, {"Sub", Type::Directory},
                         {"Bad", Type::Directory}, {"back", Type::Link}, {"song.mp3", Type::Link}}, {}, {}};
  fs.listings["/m/Sub/"] = {{{"b.mp3", Type::File}}, {}, std::make_error_code(std::errc::io_error)};
  fs.listings["/m/Bad/"] = {{{"c.mp3", Type::File}}, std::make_error_code(std::errc::permission_denied), {}};
  fs.links["/m/back"] = {Type::Directory, {}};  // a link to the root: listed once only
  fs.realPaths["/m/back"] = "/m";
  fs.links["/m/song.mp3"] = {Type::File, {}};  // a link to a file counts as the file
  CapturedNotes captured;
  const auto found = FindFiles(fs, "/m", "mp3");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(*found, (std::vector<std::string>{"/m/a.mp3", "/m/song.mp3", "/m/Sub/b.mp3"}));
  EXPECT_EQ(captured.notes, (std::vector<std::string>{"skipped the rest of directory /m/Sub/: Input/output error",
                                                      "skipped directory /m/Bad/: Permission denied"}));
  EXPECT_FALSE(fs.nestedListing);
}

// The virtual-time loop, with a clock that moves on by `step` each time it is
// read: a slow disk, on which the scan's work takes time.
class SteppingClockLoop final : public EventLoop {
 public:
  explicit SteppingClockLoop(double stepSeconds) : step_(stepSeconds) {}
  void PumpOnce(std::chrono::milliseconds maxWait) override {
    ++pumps;
    inner.PumpOnce(maxWait);
  }
  double SecondsSinceMidnight() const override {
    offset_ += step_;
    return inner.SecondsSinceMidnight() + offset_;
  }
  LocalDateTime LocalNow() const override { return inner.LocalNow(); }
  void Post(std::function<void()> task) override { inner.Post(std::move(task)); }
  std::unique_ptr<Timer> CreateTimer(std::chrono::milliseconds interval, std::function<void()> onTick) override {
    return inner.CreateTimer(interval, std::move(onTick));
  }
  void EndWaits() override { inner.EndWaits(); }
  bool WaitsEnded() const override { return inner.WaitsEnded(); }
  testing::VirtualEventLoop inner;
  int pumps = 0;

 private:
  double step_;
  mutable double offset_ = 0;
};

struct SteppingBot {
  explicit SteppingBot(double step) : loop(step) {}
  SteppingClockLoop loop;
  testing::MemorySettings settings;
  testing::RecordingChat chat;
  testing::FakeScanner scanner;
  testing::FakeMediaPlayer player;
  testing::RecordingMainView mainView;
  testing::RecordingMatchesView matchesView;
  testing::FakeInstanceLock instanceLock;
  PosixDirectoryReader directories;
  testing::FakeTagReader tags;
  Bot bot{Ports{loop, settings, chat, scanner, player, mainView, matchesView, instanceLock, directories, tags},
          testing::NoRoutines(), [] {}};
};

TEST(ScanLibrary, LetsEventsRunOnATimeSliceNotForEveryFile) {
  TempTree tree;
  for (int d = 0; d < 4; ++d) {
    for (int i = 0; i < 160; ++i) tree.File("M/D" + std::to_string(d) + "/" + std::to_string(i) + ".mp3");
  }
  const struct {
    double clockStep;  // seconds of work between two reads of the clock
    int minPumps, maxPumps;
  } cases[] = {
      {0.0, 1, 1},      // work that takes no time: only the pass at the start
      {0.001, 1, 2},    // about 60 ms of work in all: one slice boundary at most
      {0.05, 10, 40},   // every clock read ends a slice: still far fewer passes than files
  };
  for (const auto& c : cases) {
    SteppingBot s(c.clockStep);
    s.bot.form1.lblDir = tree.Path("M/");
    s.bot.form1.lblExt = "mp3";
    int posted = 0;
    s.loop.Post([&] { ++posted; });
    ScanLibrary(s.bot);
    EXPECT_EQ(s.bot.form1.List3.ListCount(), 640) << c.clockStep;
    EXPECT_EQ(posted, 1) << c.clockStep;
    EXPECT_GE(s.loop.pumps, c.minPumps) << c.clockStep;
    EXPECT_LE(s.loop.pumps, c.maxPumps) << c.clockStep;
  }
}

TEST(ScanLibrary, ANestedScanReplacesTheRunningOne) {
  TempTree tree;
  tree.File("A/a1.mp3");
  tree.File("A/sub/a2.mp3");
  tree.File("B/b1.mp3");
  const struct {
    const char* nestedDir;  // the directory the nested request scans; empty: no directory set
    std::vector<std::string> library;
  } cases[] = {
      {"B/", {"B/b1.mp3"}},
      {"A/", {"A/a1.mp3", "A/sub/a2.mp3"}},  // the same tree again: no entry twice
  };
  for (const auto& c : cases) {
    TestBot t;
    t.bot.form1.lblDir = tree.Path("A/");
    t.bot.form1.lblExt = "mp3";
    int nestedRuns = 0;
    t.loop.Post([&] {
      ++nestedRuns;
      t.bot.form1.lblDir = tree.Path(c.nestedDir);
      ScanLibrary(t.bot);
      EXPECT_EQ(t.bot.form1.List3.ListCount(), static_cast<int>(c.library.size()));  // complete at once
    });
    ScanLibrary(t.bot);
    EXPECT_EQ(nestedRuns, 1);
    std::vector<std::string> expected;
    for (const auto& file : c.library) expected.push_back(tree.Path(file));
    EXPECT_EQ(t.bot.form1.List3.items, expected) << c.nestedDir;
    EXPECT_EQ(t.bot.form1.List2.ListCount(), t.bot.form1.List3.ListCount());
    EXPECT_EQ(t.mainView.busyPointer, (std::vector<bool>{true, true, false, false}));
  }
}

TEST(ScanLibrary, ANestedRequestWithoutADirectoryLetsTheRunningScanFinish) {
  TempTree tree;
  tree.File("A/a1.mp3");
  TestBot t;
  t.bot.form1.lblDir = tree.Path("A");
  t.bot.form1.lblExt = "mp3";
  t.loop.Post([&] {
    const std::string saved = t.bot.form1.lblDir;
    t.bot.form1.lblDir.clear();
    ScanLibrary(t.bot);
    t.bot.form1.lblDir = saved;
  });
  ScanLibrary(t.bot);
  EXPECT_EQ(t.bot.form1.List3.items, (std::vector<std::string>{tree.Path("A/a1.mp3")}));
  EXPECT_EQ(t.bot.form1.List2.items, (std::vector<std::string>{"a1"}));
}

}  // namespace
}  // namespace wavecrest
