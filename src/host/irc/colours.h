#pragma once

// The 16 standard IRC colours and the nearest of them to an RGB colour
// (read from chat HTML or a hex colour code with ParseHexColour, core/chat_html.h).

#include <array>
#include <cstdint>
#include <string>

namespace wavecrest::irc {

inline constexpr int kStandardColours = 16;

// 0xRRGGBB of each standard colour, by its number.
extern const std::array<std::uint32_t, kStandardColours> kColourRgb;

// The number of the standard colour nearest to `rgb` (ties: the lower number).
int NearestColour(std::uint32_t rgb);

// "#rrggbb", lower case.
std::string HexColourText(std::uint32_t rgb);

}  // namespace wavecrest::irc
