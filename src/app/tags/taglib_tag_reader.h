#pragma once

// The TagReader port on TagLib: an MP3 file's ID3v2 tag, the file opened
// read-only and its audio not read. TagLib's own diagnostics are silenced, so
// nothing a tag holds reaches standard error. UI thread only.

#include "core/tag_reader.h"

namespace wavecrest {

class TagLibTagReader final : public TagReader {
 public:
  TagLibTagReader();
  std::optional<TagFields> ReadId3v2(const std::string& path) override;
};

}  // namespace wavecrest
