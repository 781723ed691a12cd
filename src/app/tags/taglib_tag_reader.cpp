#include "app/tags/taglib_tag_reader.h"

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>

namespace wavecrest {
namespace {

// TagLib tells of broken frames on standard error, quoting them.
class SilentListener final : public TagLib::DebugListener {
 public:
  void printMessage(const TagLib::String&) override {}
};

std::string Utf8(const TagLib::String& text) { return text.to8Bit(true); }

// The first comment: a COMM frame without a description, or a user text
// frame called "comment" (what ffmpeg writes); else the first COMM frame.
TagLib::String FirstComment(const TagLib::ID3v2::Tag& tag) {
  const TagLib::PropertyMap properties = tag.properties();
  const auto comments = properties.find("COMMENT");
  if (comments != properties.end() && !comments->second.isEmpty()) return comments->second.front();
  return tag.comment();
}

TagFields FieldsOf(const TagLib::ID3v2::Tag& tag) {
  const unsigned year = tag.year();
  return TagFields{Utf8(tag.artist()), Utf8(tag.title()), Utf8(tag.album()), year == 0 ? "" : std::to_string(year),
                   Utf8(FirstComment(tag))};
}

}  // namespace

TagLibTagReader::TagLibTagReader() {
  static SilentListener silent;
  TagLib::setDebugListener(&silent);
}

std::optional<TagFields> TagLibTagReader::ReadId3v2(const std::string& path) {
  try {
    // Read-only: a music file is never opened for writing to read its tag.
    TagLib::FileStream stream(path.c_str(), true);
    if (!stream.isOpen()) return std::nullopt;
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid() || !file.hasID3v2Tag()) return std::nullopt;
    return FieldsOf(*file.ID3v2Tag());
  } catch (...) {
    return std::nullopt;  // out of memory on a tag that claims to be huge
  }
}

}  // namespace wavecrest
