#include "core/files.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::TempTree;

TEST(FileExists, FollowsTheListingRules) {
  TempTree tree;
  tree.File("music/song.mp3");
  tree.File("music/.hidden.mp3");
  tree.File("onlyhidden/.secret");
  tree.File("onlysubdirs/inner/song.mp3");
  tree.Dir("empty");
  tree.File(".dotfile");
  tree.File("plain.txt");
  tree.Link("linkdir", tree.Path("music"));
  const struct {
    std::string path;
    bool exists;
  } cases[] = {
      {"", false},
      {tree.Path("music/"), true},              // a file lies directly in it
      {tree.Path("music"), false},              // a directory without the trailing "/"
      {tree.Path("onlysubdirs/"), false},       // only a subdirectory holds files
      {tree.Path("onlyhidden/"), false},        // hidden files do not count
      {tree.Path("empty/"), false},
      {tree.Path("missing/"), false},
      {tree.Path("missing"), false},
      {tree.Path("music/song.mp3"), true},
      {tree.Path("music/song.mp3/"), false},    // a file is not a directory
      {tree.Path("music/.hidden.mp3"), false},  // hidden
      {tree.Path(".dotfile"), false},
      {tree.Path("plain.txt"), true},
      {tree.Path("MUSIC/"), false},             // names are case-sensitive here
      {tree.Path("linkdir/"), true},            // a link counts as what it points to
      {tree.Path("linkdir/song.mp3"), true},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExists(c.path), c.exists) << c.path;
}

TEST(ResolvePathIgnoringCase, FindsTheNamesAsTheFileSystemSpellsThem) {
  TempTree tree;
  tree.File("Music/Rock/Song.MP3");
  tree.File("Music/rock/other.mp3");  // differs from Rock only in case
  tree.File("Mixed/ÉTÉ/Été.mp3");
  const std::string root = tree.Root();
  const struct {
    std::string given;
    std::string resolved;
  } cases[] = {
      {root + "/music/", root + "/Music/"},
      {root + "/music", root + "/Music"},
      {root + "/Music/", root + "/Music/"},
      {root + "/music/rock/", root + "/Music/rock/"},  // the exact name wins
      {root + "/music/ROCK/song.mp3", root + "/Music/Rock/Song.MP3"},
      {root + "/mixed/été/été.mp3", root + "/Mixed/ÉTÉ/Été.mp3"},
      {root + "/music/none/rock/", root + "/Music/none/rock/"},  // kept as given from the first miss
      {root + "/music//rock", root + "/Music//rock"},
      {root + "/music/../music/", root + "/Music/../Music/"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolvePathIgnoringCase(c.given), c.resolved) << c.given;
}

TEST(ResolvePathIgnoringCase, PicksOneNameAmongSeveralThatDifferOnlyInCase) {
  TempTree tree;
  tree.File("Song/a.mp3");
  tree.File("SONG/b.mp3");
  EXPECT_EQ(ResolvePathIgnoringCase(tree.Root() + "/song/"), tree.Root() + "/SONG/");  // first in byte order
}

}  // namespace
}  // namespace wavecrest
