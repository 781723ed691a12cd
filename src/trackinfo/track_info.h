#pragma once

// What the system tells about a music file's tags and bit rate, read in one
// place: the chat's id3, the tags tool, the desktop's media controls and the
// stream's title all take it from here.
//
//   TrackInfo info = ReadTrackInfo(path, bot.tags);   // fields and bit rate
//   TagFields tag = ReadTags(path, bot.tags);         // the fields alone
//
// The file's ID3v1 tag comes first, read by the system itself (id3.h): when
// the file has one, all five fields are that tag's, exactly as stored (space
// and NUL padding kept, Windows-1252 read as such). Only a file without one
// that begins with an ID3v2 tag is handed to the TagReader port, which may
// load its library then; its fields come back as valid UTF-8, each cut to
// kMaxId3v2FieldCodePoints. With neither tag every field is "n/a" (kNoTag);
// for an empty path every field is the empty text and no file is touched.
//
// Fields are text from a file, not to be trusted: before one is shown, each
// output applies its own rule for control characters (ShownTagField for the
// chat, EscapeControls for a terminal). A field with nothing but spaces is
// still a field: the chat shows "n/a" for it.
//
// The bit rate is ReadBitRate's (mpeg_header.h): digits, or the empty text.
// Nothing is cached; every call reads the file afresh. UI thread only.

#include "core/tag_reader.h"
#include "trackinfo/id3.h"  // kNoTag, TagFieldText

#include <cstddef>
#include <string>

namespace wavecrest {

// An ID3v2 field may be as long as a tag is; the chat line it goes into
// may not. Longer fields (lyrics in a comment) are cut to this.
inline constexpr std::size_t kMaxId3v2FieldCodePoints = 128;

struct TrackInfo {
  TagFields tag;
  std::string bitRate;
};

TagFields ReadTags(const std::string& path, TagReader& id3v2);
TrackInfo ReadTrackInfo(const std::string& path, TagReader& id3v2);

}  // namespace wavecrest
