#include "library/library_order.h"

#include "core/collation.h"
#include "library/entry_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wavecrest {
namespace {

TEST(SortLibrary, GivesTheListBoxOrderOfTheWholePaths) {
  // Paths that differ just after a shared directory, in case only, in
  // accents, in punctuation that sorts around "/", and with a combining mark.
  const std::vector<std::vector<std::string>> cases = {
      {"/m/A b.mp3", "/m/A/x.mp3", "/m/A.mp3", "/m/A0.mp3", "/m/a/y.mp3", "/m/a-z.mp3", "/m/a_z.mp3"},
      {"/m/Song.mp3", "/m/song.mp3", "/m/SONG.mp3", "/m/söng.mp3", "/m/Söng.mp3", "/m/sőng.mp3"},
      {"/m/e\u0301/x.mp3", "/m/é/x.mp3", "/m/e/x.mp3", "/m/\u0301x.mp3", "/m/f.mp3", "/m/E/z.mp3"},
      {"/m/x/1.mp3", "/m/x/10.mp3", "/m/x/2.mp3", "/m/y.mp3", "/m/X/3.mp3", "/m/x 1/4.mp3"},
      {"/one/only.mp3"},
      {"/a/x.mp3", "/b/x.mp3", "/ab/x.mp3"},  // nothing shared but the leading "/"
      {"relative.mp3", "Other.mp3"},          // not even that
      {},
  };
  for (const auto& paths : cases) {
    std::vector<std::string> expected = paths;
    SortForListBox(expected);
    const auto library = SortLibrary(paths, "mp3");
    ASSERT_TRUE(library.has_value());
    EXPECT_EQ(library->paths, expected);
    ASSERT_EQ(library->names.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(library->names[i], DisplayName(expected[i], "mp3"));
  }
}

}  // namespace
}  // namespace wavecrest
