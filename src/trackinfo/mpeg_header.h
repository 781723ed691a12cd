#pragma once

// The bit rate of an MP3 file, from its first MPEG audio frame.
//
// The audio starts after the ID3 version 2 tag when the file begins with one
// (or several in a row). From there the first valid frame header is looked
// for in the next kFrameSearchBytes: eleven sync bits, a version and a layer
// that are not reserved, a bit-rate index that is not 15 and a sampling
// index that is not 3. Its bit rate comes from the standard's table for its
// version and layer. A variable-rate file says so in its first frame (a
// Xing, Info or VBRI header giving the stream's bytes and frames): then the
// average over the whole stream is the bit rate.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest {

// How far after the tag a frame header is looked for.
inline constexpr std::size_t kFrameSearchBytes = 64 * 1024;

// The bytes an ID3v2 tag at the start of `head` takes: its 10-byte header,
// the size that header gives (four bytes of seven bits each) and a 10-byte
// footer when its flag says so. 0 when `head` does not begin with a tag
// header: "ID3", a major version and revision other than 0xFF, a size whose
// four bytes all leave their top bit clear. Only the first 10 bytes are read.
std::uint64_t Id3v2TagBytes(std::string_view head);

// The bit rate, in whole kbit/s, of the audio `audio` begins with: the first
// valid frame header in it, or the stream's average when that frame holds a
// Xing, Info or VBRI header. nullopt when no header is found, or the header
// says free format and gives no average.
std::optional<int> BitRateOfAudio(std::string_view audio);

// The bit rate of the file at `path` as digits ("128"), or the empty text
// when the path is empty, names no ordinary visible file, cannot be read or
// is shorter than 256 bytes, or no frame header is found after its ID3v2 tag.
std::string ReadBitRate(const std::string& path);

}  // namespace wavecrest
