#pragma once

// The ID3 version 2 tag at the start of an MP3 file, read by a tag library:
// the system reads the fixed ID3v1 tag itself and asks this port only for a
// file that has none (see trackinfo/track_info.h).
//
// Lifecycle: one reader lives for the whole run, owned by the front-end (or
// a tool) and outliving the Bot; it keeps nothing between calls. A reader
// may load its library on the first call.
// Threading: UI thread only.
// Failures come back as values: nullopt when the file cannot be read or
// holds no ID3v2 tag the library accepts. Nothing here throws.

#include <optional>
#include <string>

namespace wavecrest {

// A tag's five text fields, as the system shows them about a song.
struct TagFields {
  std::string artist, title, album, year, comment;
  bool operator==(const TagFields&) const = default;
};

class TagReader {
 public:
  virtual ~TagReader() = default;

  // The ID3v2 tag (versions 2.2, 2.3 and 2.4) of the file at `path`, each
  // field as UTF-8 whatever encoding the tag used: the year's digits (from
  // TYER or TDRC), the first comment. A frame the tag lacks is the empty
  // text. The text is the tag's, not checked: it may hold line breaks and
  // any other character.
  virtual std::optional<TagFields> ReadId3v2(const std::string& path) = 0;
};

}  // namespace wavecrest
