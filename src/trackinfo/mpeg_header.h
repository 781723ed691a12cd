#pragma once

// The bit rate of an MP3 file, from the bit-rate index of the frame header
// the file is taken to begin with. No frame sync is searched for: a file that
// begins with anything else gives whatever its third byte says.

#include <string>
#include <string_view>

namespace wavecrest {

// The system's own bit-rate table: 15 slots of 4 characters, kilobits per
// second, used for every file whatever its MPEG version and layer. Its first
// rows are not the standard's.
inline constexpr std::string_view kBitRateTable = "144 16  32  48  56  64  80  96  112 128 160 192 224 256 320 ";

// The bit rate in kilobits per second as digits ("128"), or the empty text
// when the path is empty, names no ordinary visible file, cannot be read or is
// shorter than 256 bytes, or the index has no slot (15).
std::string ReadBitRate(const std::string& path);

// Looks bits `first`..`last` of `value` up in `table`: the index is those
// bits shifted down, and the result is the index's slot of `width`
// characters (fewer or none where the table ends), spaces trimmed.
std::string SlotFromBits(unsigned char value, int first, int last, int width, std::string_view table);

}  // namespace wavecrest
