#include "app/stream/stream_title.h"

#include "core/control_characters.h"
#include "trackinfo/track_info.h"

namespace wavecrest {
namespace {

// A tag field as shown: before its first NUL, without the spaces around it;
// empty when the file has no tag.
std::string Field(const std::string& stored) {
  if (stored == kNoTag) return {};
  const std::string text = TagFieldText(stored);
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// UTF-8 without controls, cut at a character's start when it is too long.
std::string Shown(const std::string& text) {
  std::string clean = WithoutControlCharacters(text);
  if (clean.size() <= kMaxStreamTitleBytes) return clean;
  std::size_t cut = kMaxStreamTitleBytes;
  while (cut > 0 && (static_cast<unsigned char>(clean[cut]) & 0xC0) == 0x80) --cut;
  clean.resize(cut);
  return clean;
}

}  // namespace

std::string StreamTitle(const std::string& path, const std::string& displayName, TagReader& id3v2) {
  const TagFields tag = ReadTags(path, id3v2);
  const std::string artist = Field(tag.artist);
  const std::string title = Field(tag.title);
  if (artist.empty() || title.empty()) return Shown(displayName);
  return Shown(artist + " - " + title);
}

}  // namespace wavecrest
