#include "host/irc/colours.h"

#include <cstdio>

namespace wavecrest::irc {

const std::array<std::uint32_t, kStandardColours> kColourRgb = {
    0xFFFFFF, 0x000000, 0x00007F, 0x009300, 0xFF0000, 0x7F0000, 0x9C009C, 0xFC7F00,
    0xFFFF00, 0x00FC00, 0x009393, 0x00FFFF, 0x0000FC, 0xFF00FF, 0x7F7F7F, 0xD2D2D2,
};

namespace {

int Channel(std::uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

long SquaredDistance(std::uint32_t a, std::uint32_t b) {
  long sum = 0;
  for (const int shift : {16, 8, 0}) {
    const long d = Channel(a, shift) - Channel(b, shift);
    sum += d * d;
  }
  return sum;
}

}  // namespace

int NearestColour(std::uint32_t rgb) {
  int best = 0;
  for (int i = 1; i < kStandardColours; ++i) {
    if (SquaredDistance(rgb, kColourRgb[i]) < SquaredDistance(rgb, kColourRgb[best])) best = i;
  }
  return best;
}

std::string HexColourText(std::uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

}  // namespace wavecrest::irc
