#include "trackinfo/mpeg_header.h"

#include "core/files.h"

#include <fstream>

namespace wavecrest {
namespace {

// A file shorter than this is taken to hold no frame worth reading.
constexpr std::streamoff kMinimumFileBytes = 256;
// The header byte that holds the bit-rate index (bits 7–4): the third.
constexpr std::streamoff kBitRateByteOffset = 2;
constexpr int kBitRateFirstBit = 4;
constexpr int kBitRateLastBit = 7;
constexpr int kBitRateSlotWidth = 4;

}  // namespace

std::string SlotFromBits(unsigned char value, int first, int last, int width, std::string_view table) {
  if (first < 0 || first > 7 || width <= 0) return "";
  unsigned sum = 0;
  for (int i = first; i <= last && i <= 7; ++i) {
    const unsigned bit = 1U << i;
    if ((value & bit) == bit) sum += bit;
  }
  const std::size_t index = sum >> first;
  const std::size_t start = index * static_cast<std::size_t>(width);
  if (start >= table.size()) return "";
  std::string_view slot = table.substr(start, static_cast<std::size_t>(width));
  while (!slot.empty() && slot.front() == ' ') slot.remove_prefix(1);
  while (!slot.empty() && slot.back() == ' ') slot.remove_suffix(1);
  return std::string(slot);
}

std::string ReadBitRate(const std::string& path) {
  if (path.empty() || !FileExists(path)) return "";
  std::ifstream file(path, std::ios::binary);
  if (!file) return "";
  file.seekg(0, std::ios::end);
  if (file.tellg() < kMinimumFileBytes) return "";
  file.seekg(kBitRateByteOffset);
  char byte = 0;
  if (!file.get(byte)) return "";
  return SlotFromBits(static_cast<unsigned char>(byte), kBitRateFirstBit, kBitRateLastBit, kBitRateSlotWidth,
                      kBitRateTable);
}

}  // namespace wavecrest
