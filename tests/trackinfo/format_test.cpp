#include "trackinfo/format.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

namespace wavecrest {
namespace {

namespace fs = std::filesystem;
using testing::TestBot;

TEST(FormatTime, RoundsHalfToEvenAndCountsMinutes) {
  const struct {
    double duration;
    const char* text;
  } cases[] = {
      {0, "0:00"},      {59.4, "0:59"},   {59.5, "1:00"},    {58.5, "0:58"},   {60, "1:00"},
      {185.2, "3:05"},  {185.5, "3:06"},  {184.5, "3:04"},   {3600, "60:00"},  {3725, "62:05"},
      {119.5, "2:00"},  {0.5, "0:00"},    {1.5, "0:02"},     {61.49, "1:01"},  {3599.6, "60:00"},
  };
  for (const auto& c : cases) {
    TestBot t;
    t.player.duration = c.duration;
    EXPECT_EQ(FormatTime(t.player, t.loop), c.text) << c.duration;
  }
}

TEST(FormatTime, AnUnreadableOrUnconvertibleDurationGivesZero) {
  const double cases[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          3e9 /* beyond a 32-bit count */};
  for (const double duration : cases) {
    TestBot t;
    t.player.duration = duration;
    EXPECT_EQ(FormatTime(t.player, t.loop), "0:00") << duration;
  }
  TestBot t;
  t.player.duration = 185;
  t.player.failReads = true;
  EXPECT_EQ(FormatTime(t.player, t.loop), "0:00");
}

TEST(FormatTime, LetsEventsRunOncePerWholeMinute) {
  const struct {
    double duration;
    int passes;
  } cases[] = {{0, 0}, {59.4, 0}, {59.5, 1}, {185, 3}, {3725, 62}};
  for (const auto& c : cases) {
    TestBot t;
    int ran = 0;
    t.loop.Post([&] { ++ran; });
    t.player.duration = c.duration;
    const int before = t.loop.PassCount();
    FormatTime(t.player, t.loop);
    EXPECT_EQ(t.loop.PassCount() - before, c.passes) << c.duration;
    EXPECT_EQ(ran, c.passes > 0 ? 1 : 0) << c.duration;
  }
}

TEST(FormatTime, ReadsTheDurationOnceEvenWhenANestedEventChangesIt) {
  TestBot t;
  t.player.duration = 125;
  t.loop.Post([&] { t.player.duration = 10; });
  EXPECT_EQ(FormatTime(t.player, t.loop), "2:05");
}

TEST(FormatByteCount, PicksTheUnitAndRoundsToTwoDecimals) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0</b>bytes"},
      {1, "1</b>bytes"},
      {700, "700</b>bytes"},
      {1024, "1024</b>bytes"},        // not greater than 1 kb
      {1025, "1</b>kb"},              // 1.0009… rounds to 1, written without decimals
      {3500, "3.42</b>kb"},
      {1536, "1.5</b>kb"},            // no trailing zero
      {1024 + 128, "1.12</b>kb"},     // 1.125: a tie goes to the even neighbour
      {1024 + 384, "1.38</b>kb"},     // 1.375 → 1.38
      {1024 * 1024, "1024</b>kb"},    // not greater than 1 mb
      {1024 * 1024 + 1, "1</b>mb"},
      {5000000, "4.77</b>mb"},
      {10 * 1024 * 1024, "10</b>mb"},
      {2147483647ULL, "2048</b>mb"},  // 2047.999999 rounds up
      {2147483648ULL, "2048</b>mb"},  // 2 GiB: beyond a signed 32-bit count
      {5ULL * 1024 * 1024 * 1024 + 512ULL * 1024 * 1024, "5632</b>mb"},
      {4294967296ULL + 10485760ULL / 2, "4101</b>mb"},  // 4096 + 5 mb
  };
  for (const auto& c : cases) EXPECT_EQ(FormatByteCount(c.bytes), c.text) << c.bytes;
}

class FormatSizeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("wavecrest-format-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string MakeFile(const std::string& name, std::uintmax_t size) {
    const fs::path path = dir_ / name;
    std::ofstream(path).close();
    fs::resize_file(path, size);  // sparse: no disk space used
    return path.string();
  }
  fs::path dir_;
};

TEST_F(FormatSizeTest, SizesFilesOnDisk) {
  const struct {
    std::uintmax_t size;
    const char* text;
  } cases[] = {
      {0, "0</b>bytes"},
      {700, "700</b>bytes"},
      {1048576, "1024</b>kb"},
      {1048577, "1</b>mb"},
      {5000000, "4.77</b>mb"},
      {3ULL * 1024 * 1024 * 1024, "3072</b>mb"},  // a sparse 3 GiB file shows its true size
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string path = MakeFile("f" + std::to_string(n++) + ".mp3", c.size);
    EXPECT_EQ(FormatSize(path), std::optional<std::string>(c.text)) << c.size;
  }
}

TEST_F(FormatSizeTest, GivesNothingWhenThereIsNoFileToSize) {
  fs::create_directories(dir_ / "sub");
  const std::string cases[] = {"", (dir_ / "missing.mp3").string(), (dir_ / "sub").string(),
                               (dir_ / "sub/").string()};
  for (const auto& path : cases) EXPECT_EQ(FormatSize(path), std::nullopt) << path;
}

}  // namespace
}  // namespace wavecrest
