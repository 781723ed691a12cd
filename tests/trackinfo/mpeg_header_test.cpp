#include "trackinfo/mpeg_header.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::TempTree;

TEST(SlotFromBits, LooksTheHighFourBitsUpInTheSystemsTable) {
  const char* expected[16] = {"144", "16",  "32",  "48",  "56",  "64",  "80",  "96",
                              "112", "128", "160", "192", "224", "256", "320", ""};
  for (int index = 0; index < 16; ++index) {
    for (const int low : {0x0, 0x5, 0xF}) {  // the low bits never matter
      const auto value = static_cast<unsigned char>(index << 4 | low);
      EXPECT_EQ(SlotFromBits(value, 4, 7, 4, kBitRateTable), expected[index]) << index << "/" << low;
    }
  }
}

TEST(SlotFromBits, WorksForOtherFieldsAndTables) {
  const struct {
    unsigned char value;
    int first, last, width;
    const char* table;
    const char* slot;
  } cases[] = {
      {0b00000110, 1, 2, 2, "a b c d ", "d"},   // bits 1..2 = 3
      {0b00000100, 2, 2, 3, " x  y ", "y"},     // one bit
      {0b11111111, 0, 1, 1, "abc", ""},         // index 3 lies past the end
      {0b00000011, 0, 1, 2, "aabbccd", "d"},    // a slot cut short by the end
      {0b00001000, 0, 7, 1, "0123456789", "8"},
  };
  for (const auto& c : cases) EXPECT_EQ(SlotFromBits(c.value, c.first, c.last, c.width, c.table), c.slot) << c.table;
}

TEST(ReadBitRate, ReadsTheThirdByteOfFilesOfAtLeast256Bytes) {
  TempTree tree;
  const auto file = [&](const std::string& name, std::string head, std::size_t size) {
    head.resize(size, '\0');
    return tree.Bytes(name, head);
  };
  const struct {
    std::string path;
    const char* rate;
  } cases[] = {
      {file("a.mp3", "\xFF\xFB\x90", 4096), "128"},
      {file("b.mp3", std::string("\xFF\xFB\x10", 3), 256), "16"},
      {file("c.mp3", std::string("\xFF\xFB\x00", 3), 300), "144"},
      {file("d.mp3", "\xFF\xFB\xE0", 300), "320"},
      {file("e.mp3", "\xFF\xFB\xF0", 300), ""},
      {file("id3v2.mp3", "ID3\x03", 1000), "48"},  // the third byte is "3"
      {file("short.mp3", "\xFF\xFB\x90", 255), ""},
      {file(".hidden.mp3", "\xFF\xFB\x90", 300), ""},
      {tree.Path("missing.mp3"), ""},
      {tree.Dir("folder.mp3"), ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadBitRate(c.path), c.rate) << c.path;
}

}  // namespace
}  // namespace wavecrest
