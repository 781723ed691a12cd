// The tag reader that loads TagLib with the first file that needs it.
#include "app/modules/lazy_tag_reader.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

#include <memory>

namespace wavecrest {
namespace {

TEST(LazyTagReader, MakesTheRealReaderOnTheFirstReadAndTriesOnlyOnce) {
  for (const bool fails : {false, true}) {
    SCOPED_TRACE(fails ? "cannot be made" : "made");
    int made = 0;
    LazyTagReader reader([&]() -> std::unique_ptr<TagReader> {
      ++made;
      if (fails) return nullptr;
      auto real = std::make_unique<testing::FakeTagReader>();
      real->tags["a.mp3"] = TagFields{"Artist", "Title", "", "", ""};
      return real;
    });
    EXPECT_EQ(made, 0) << "nothing is loaded before a file needs it";
    for (int i = 0; i < 2; ++i) {
      const auto tag = reader.ReadId3v2("a.mp3");
      EXPECT_EQ(tag.has_value(), !fails);
      EXPECT_EQ(tag.value_or(TagFields{}).title, fails ? "" : "Title");
    }
    EXPECT_EQ(reader.ReadId3v2("b.mp3"), std::nullopt);
    EXPECT_EQ(made, 1);
  }
}

}  // namespace
}  // namespace wavecrest
