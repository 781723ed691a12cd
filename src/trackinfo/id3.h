#pragma once

// Readers of the fixed 128-byte tag MP3 files carry at their end (ID3 version
// 1): title, artist, album, year and comment.
//
// Each reader opens the file, reads its last 256 bytes, closes it and looks
// for the first "tag" in that window without regard to case; the field is
// taken relative to that place. Nothing is cached.
//
// A field comes back exactly as stored: 30 characters (4 for the year), fewer
// only when the window ends first, with its space and NUL padding kept. The
// bytes are read as Windows-1252 unless they form valid UTF-8, and come back
// as UTF-8. NUL padding is cut only where a field is shown: TagFieldText.
//
// "n/a" when no tag is found or the file cannot be read (missing, not a
// file, shorter than 256 bytes); the empty text for an empty path, without
// touching the file system. No reader creates a file.

#include "core/tag_reader.h"

#include <optional>
#include <string>
#include <string_view>

namespace wavecrest {

inline constexpr const char* kNoTag = "n/a";

std::string ReadTagTitle(const std::string& path);
std::string ReadTagArtist(const std::string& path);
std::string ReadTagAlbum(const std::string& path);
std::string ReadTagYear(const std::string& path);
// The comment's last two bytes, a track number in later versions of the tag,
// are part of it.
std::string ReadTagComment(const std::string& path);

// All five fields from one read of the file, by the same rules; nullopt
// where the readers answer "n/a" (no tag, or the file cannot be read) and for
// an empty path.
std::optional<TagFields> ReadId3v1Tag(const std::string& path);

// The field `width` characters long that starts `offset` characters after the
// first letter of the marker.
std::string ReadTagField(const std::string& path, std::size_t offset, std::size_t width);

// A field as it is shown: everything before its first NUL. Tagging programs
// pad with NULs; a NUL in a chat line would cut the line short.
std::string TagFieldText(std::string_view field);

}  // namespace wavecrest
