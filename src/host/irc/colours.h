#pragma once

// The 16 standard IRC colours and the nearest of them to an RGB colour.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest::irc {

inline constexpr int kStandardColours = 16;

// 0xRRGGBB of each standard colour, by its number.
extern const std::array<std::uint32_t, kStandardColours> kColourRgb;

// The number of the standard colour nearest to `rgb` (ties: the lower number).
int NearestColour(std::uint32_t rgb);

// "#rrggbb" or "rrggbb" (any case) as 0xRRGGBB; nullopt for anything else.
std::optional<std::uint32_t> ParseHexColour(std::string_view text);

// "#rrggbb", lower case.
std::string HexColourText(std::uint32_t rgb);

}  // namespace wavecrest::irc
