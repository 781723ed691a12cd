#pragma once

// What listeners' players show for the song the stream carries.

#include "core/tag_reader.h"

#include <string>

namespace wavecrest {

// The longest title sent, in bytes (servers and players cut longer ones
// anyway, and never in the middle of a character).
inline constexpr std::size_t kMaxStreamTitleBytes = 255;

// "artist - title" from the song's tag when it holds both (each trimmed of
// its padding), otherwise `displayName`. The tag is read as `id3` reads it:
// the ID3v1 tag, else the ID3v2 tag through `id3v2`. Valid UTF-8 without
// control characters, at most kMaxStreamTitleBytes.
std::string StreamTitle(const std::string& path, const std::string& displayName, TagReader& id3v2);

}  // namespace wavecrest
