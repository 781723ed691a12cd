#pragma once

// What listeners' players show for the song the stream carries.

#include <string>

namespace wavecrest {

// The longest title sent, in bytes (servers and players cut longer ones
// anyway, and never in the middle of a character).
inline constexpr std::size_t kMaxStreamTitleBytes = 255;

// "artist - title" from the song's tag when it holds both (each trimmed of
// its padding), otherwise `displayName`. Valid UTF-8 without control
// characters, at most kMaxStreamTitleBytes. Every read of the song's tag
// fields for the stream goes through here.
std::string StreamTitle(const std::string& path, const std::string& displayName);

}  // namespace wavecrest
