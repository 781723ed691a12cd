#include "trackinfo/track_info.h"

#include "core/text.h"
#include "trackinfo/id3.h"
#include "trackinfo/mpeg_header.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace wavecrest {
namespace {

// Whether the file begins with an ID3v2 tag header: only such a file is worth
// loading the tag library for.
bool BeginsWithId3v2(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream file(path, std::ios::binary);
  std::string head(10, '\0');
  if (!file.read(head.data(), static_cast<std::streamsize>(head.size()))) return false;
  return Id3v2TagBytes(head) > 0;
}

std::string Bounded(const std::string& field) {
  return std::string(FirstCodePoints(ToUtf8(field), kMaxId3v2FieldCodePoints));
}

}  // namespace

TagFields ReadTags(const std::string& path, TagReader& id3v2) {
  if (path.empty()) return {};
  if (auto id3v1 = ReadId3v1Tag(path)) return std::move(*id3v1);
  if (BeginsWithId3v2(path)) {
    if (const auto tag = id3v2.ReadId3v2(path)) {
      return {Bounded(tag->artist), Bounded(tag->title), Bounded(tag->album), Bounded(tag->year),
              Bounded(tag->comment)};
    }
  }
  return {kNoTag, kNoTag, kNoTag, kNoTag, kNoTag};
}

TrackInfo ReadTrackInfo(const std::string& path, TagReader& id3v2) {
  return {ReadTags(path, id3v2), ReadBitRate(path)};
}

}  // namespace wavecrest
