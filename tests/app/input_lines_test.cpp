#include "app/console/input_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wavecrest {
namespace {

struct Taken {
  std::vector<std::string> lines;
  std::vector<bool> cut;
};

// Feeds the chunks in order, taking every line they complete, then ends the input.
Taken Feed(const std::vector<std::string>& chunks) {
  InputLines input;
  Taken taken;
  const auto takeAll = [&] {
    while (auto line = input.Next()) {
      taken.lines.push_back(line->text);
      taken.cut.push_back(line->cut);
    }
  };
  for (const std::string& chunk : chunks) {
    input.Append(chunk);
    takeAll();
  }
  input.Finish();
  takeAll();
  return taken;
}

TEST(InputLines, SplitsWhateverTheChunksAre) {
  const struct {
    const char* name;
    std::vector<std::string> chunks;
    std::vector<std::string> lines;
  } cases[] = {
      {"lines in one chunk", {"a\nb\r\nc\n"}, {"a", "b", "c"}},
      {"a line across chunks", {"p ec", "ho\nne", "xt\n"}, {"p echo", "next"}},
      {"CR LF split between chunks", {"a\r", "\nb\n"}, {"a", "b"}},
      {"last line without a line end", {"a\nexit"}, {"a", "exit"}},
      {"empty lines kept", {"\n\nx\n"}, {"", "", "x"}},
      {"bytes that are not UTF-8 read as Windows-1252", {"/screenname jos\xE9\n"}, {"/screenname jos\xC3\xA9"}},
      {"nothing", {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Feed(c.chunks).lines, c.lines) << c.name;
}

TEST(InputLines, ALineOverTheLimitIsCutAndTheRestDropped) {
  const std::size_t limit = InputLines::kMaxLineBytes;
  const std::string huge(limit + 10, 'x');
  // "é" straddling the limit is not cut in half.
  const std::string straddling = std::string(limit - 1, 'y') + "\xC3\xA9" + "zz";
  const struct {
    const char* name;
    std::vector<std::string> chunks;
    std::string first;
  } cases[] = {
      {"whole in one chunk", {huge + "\nnext\n"}, std::string(limit, 'x')},
      {"arriving in pieces", {huge.substr(0, 1000), huge.substr(1000), "tail\nnext\n"}, std::string(limit, 'x')},
      {"a character at the limit", {straddling + "\nnext\n"}, std::string(limit - 1, 'y')},
  };
  for (const auto& c : cases) {
    const Taken taken = Feed(c.chunks);
    ASSERT_EQ(taken.lines.size(), 2u) << c.name;
    EXPECT_EQ(taken.lines[0], c.first) << c.name;
    EXPECT_EQ(taken.cut, (std::vector<bool>{true, false})) << c.name;
    EXPECT_EQ(taken.lines[1], "next") << c.name;
  }
}

TEST(InputLines, HoldsNoMoreThanTheLineBeingRead) {
  InputLines input;
  const std::string chunk(64 * 1024, 'q');
  for (int i = 0; i < 40; ++i) {
    input.Append(chunk);
    while (input.Next()) {
    }
  }
  // 2.5 MiB of one line arrived; only a part of it below a chunk is held.
  EXPECT_LT(input.Held(), chunk.size());
  input.Append("\nafter\n");
  const auto line = input.Next();
  ASSERT_TRUE(line);
  EXPECT_EQ(line->text, "after");
}

}  // namespace
}  // namespace wavecrest
