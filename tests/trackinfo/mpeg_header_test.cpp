#include "trackinfo/mpeg_header.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace wavecrest {
namespace {

using testing::TempTree;

// A frame header without CRC: MPEG version 1, 2 or 25 (2.5), layer 1 to 3,
// bit-rate and sampling indexes; stereo unless mono.
std::string Header(int version, int layer, unsigned rate, unsigned sampling = 0, bool mono = false) {
  const unsigned versionBits = version == 1 ? 3 : version == 2 ? 2 : 0;
  const auto layerBits = static_cast<unsigned>(4 - layer);
  return {static_cast<char>(0xFF), static_cast<char>(0xE1 | versionBits << 3 | layerBits << 1),
          static_cast<char>(rate << 4 | sampling << 2), static_cast<char>(mono ? 0xC0 : 0x00)};
}

std::string BigEndian(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

// A first frame holding `marker` at `offset` from its start, then `fields`.
std::string FrameWith(const std::string& header, std::size_t offset, const std::string& marker,
                      const std::string& fields) {
  std::string frame = header;
  frame.resize(offset, '\0');
  return frame + marker + fields + std::string(100, '\0');
}

// The 10-byte header of an ID3v2 tag whose body is `size` bytes long.
std::string Id3v2Header(char version, char flags, std::size_t size) {
  std::string header = std::string("ID3") + version + '\0' + flags;
  for (const int shift : {21, 14, 7, 0}) header += static_cast<char>(size >> shift & 0x7F);
  return header;
}

// An ID3v2 tag around `body`.
std::string Id3v2(char version, const std::string& body) { return Id3v2Header(version, 0, body.size()) + body; }

TEST(BitRateOfAudio, TheFirstValidHeaderThroughTheTableOfItsVersionAndLayer) {
  const struct {
    std::string audio;
    std::optional<int> kbps;
  } cases[] = {
      {Header(1, 3, 1), 32},  // the system's own table said 16
      {Header(1, 3, 9), 128},
      {Header(1, 3, 14), 320},
      {Header(1, 2, 14), 384},
      {Header(1, 1, 14), 448},
      {Header(2, 3, 6), 48},  // the system's own table said 80
      {Header(2, 2, 14), 160},
      {Header(2, 1, 9), 144},
      {Header(25, 3, 1), 8},
      {Header(1, 3, 0), std::nullopt},  // free format: the header does not say
      // Headers that are not valid are passed over: a reserved version, a
      // reserved layer, bit-rate index 15, sampling index 3.
      {"\xFF\xEB\x90\x00" + Header(1, 3, 5), 64},
      {"\xFF\xF9\x90\x00" + Header(2, 3, 6), 48},
      {Header(1, 3, 15) + Header(1, 3, 3), 48},
      {Header(1, 3, 9, 3) + Header(1, 3, 4), 56},
      {"junk" + Header(1, 3, 10), 160},
      {"\xFF\xFB\x90", std::nullopt},  // cut short
      {"no sync in here at all", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(BitRateOfAudio(c.audio), c.kbps) << ::testing::PrintToString(c.audio);
}

TEST(BitRateOfAudio, AVariableRateFileGivesItsAverage) {
  // 100 frames of 1152 samples at 44.1 kHz last 2.612 s; 65,306 bytes of
  // them make 200 kbit/s. The 128 kbit/s frame holding the totals (417
  // bytes) is in the byte count, not in the frames.
  const std::string mpeg1 = Header(1, 3, 9);
  const std::string totals = BigEndian(100) + BigEndian(417 + 65306);
  const std::string xing = BigEndian(3) + totals;
  const struct {
    const char* name;
    std::string audio;
    int kbps;
  } cases[] = {
      {"Xing, stereo", FrameWith(mpeg1, 36, "Xing", xing), 200},
      {"Info, stereo", FrameWith(mpeg1, 36, "Info", xing), 200},
      {"Xing, mono", FrameWith(Header(1, 3, 9, 0, true), 21, "Xing", xing), 200},
      // MPEG-2 mono at 22.05 kHz: 100 frames of 576 samples, a 208-byte frame.
      {"Xing, MPEG-2 mono",
       FrameWith(Header(2, 3, 8, 0, true), 13, "Xing", BigEndian(3) + BigEndian(100) + BigEndian(208 + 19592)), 60},
      {"VBRI", FrameWith(mpeg1, 36, "VBRI", std::string(6, '\0') + BigEndian(417 + 65306) + BigEndian(100)), 200},
      // Totals that are missing or no stream could have: the header's own rate.
      {"frames only", FrameWith(mpeg1, 36, "Xing", BigEndian(1) + totals), 128},
      {"no frames", FrameWith(mpeg1, 36, "Xing", BigEndian(3) + BigEndian(0) + BigEndian(5000)), 128},
      {"absurd", FrameWith(mpeg1, 36, "Xing", BigEndian(3) + BigEndian(1) + BigEndian(0xFFFFFFFF)), 128},
      {"not where it belongs", FrameWith(mpeg1, 21, "Xing", xing), 128},
      {"cut short", mpeg1 + std::string(32, '\0') + "Xing" + BigEndian(3), 128},
  };
  for (const auto& c : cases) EXPECT_EQ(BitRateOfAudio(c.audio), c.kbps) << c.name;
}

TEST(Id3v2TagBytes, HeaderSizeAndFooter) {
  const struct {
    std::string head;
    std::uint64_t bytes;
  } cases[] = {
      {std::string("ID3\x03\x00\x00\x00\x00\x02\x01", 10), 10 + 257},
      {std::string("ID3\x04\x00\x10\x00\x00\x00\x05", 10), 10 + 5 + 10},  // a footer
      {std::string("ID3\x03\x00\x10\x00\x00\x00\x05", 10), 10 + 5},       // 2.3 has none
      {std::string("ID3\x04\x00\x00\x7F\x7F\x7F\x7F", 10), 10 + 0x0FFFFFFF},
      {std::string("ID3\x04\x00\x00\x00\x00\x00\x80", 10), 0},  // not seven bits
      {std::string("ID3\xFF\x00\x00\x00\x00\x00\x05", 10), 0},
      {std::string("ID3\x04\x00\x00\x00\x00", 9), 0},
      {"TAG Title ", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Id3v2TagBytes(c.head), c.bytes) << ::testing::PrintToString(c.head);
}

TEST(ReadBitRate, AfterTheId3v2TagWithinItsFirst64KiB) {
  TempTree tree;
  int n = 0;
  const auto file = [&](std::string bytes, std::size_t size = 4096) {
    bytes.resize(std::max(size, bytes.size()), '\0');
    return tree.Bytes("f" + std::to_string(n++) + ".mp3", bytes);
  };
  // Tag bodies full of what looks like frame headers: they are skipped, not read.
  std::string decoys;
  for (int i = 0; i < 20; ++i) decoys += Header(1, 3, 14);
  const struct {
    std::string path;
    const char* rate;
  } cases[] = {
      {file(Header(1, 3, 9)), "128"},
      {file(Id3v2('\x04', decoys) + Header(2, 3, 6)), "48"},
      {file(Id3v2Header('\x04', 0x10, 40) + decoys.substr(0, 50) + Header(1, 3, 1)), "32"},  // and its footer
      {file(Id3v2('\x03', "x") + Id3v2('\x03', decoys) + Header(1, 3, 9)), "128"},          // two in a row
      {file(Id3v2Header('\x04', 0, 0x0FFFFFFF) + Header(1, 3, 9)), ""},                        // past the end
      {file(Id3v2('\x03', "") + std::string(kFrameSearchBytes - 4, '\0') + Header(1, 3, 9)), "128"},
      {file(Id3v2('\x03', "") + std::string(kFrameSearchBytes - 3, '\0') + Header(1, 3, 9)), ""},
      {file(Header(1, 3, 9), 255), ""},
      {tree.Bytes(".hidden.mp3", Header(1, 3, 9) + std::string(300, '\0')), ""},
      {tree.Path("missing.mp3"), ""},
      {tree.Dir("folder.mp3"), ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadBitRate(c.path), c.rate) << c.path;
}

}  // namespace
}  // namespace wavecrest
