#pragma once

// The tag reader the system holds: TagLib is loaded only when a file without
// an ID3v1 tag is first asked about, so the tools and a run whose songs all
// carry one never map it. When the reader cannot be made, every read answers
// nullopt for the rest of the run. UI thread only.

#include "core/tag_reader.h"

#include <functional>
#include <memory>

namespace wavecrest {

class LazyTagReader final : public TagReader {
 public:
  // Makes the real reader, or answers nullptr when it cannot (having said why).
  using Factory = std::function<std::unique_ptr<TagReader>()>;
  explicit LazyTagReader(Factory factory);

  std::optional<TagFields> ReadId3v2(const std::string& path) override;

 private:
  Factory factory_;
  std::unique_ptr<TagReader> real_;
  bool tried_ = false;
};

// The TagLib reader from its module; nullptr (and a line on standard error)
// when the module cannot be loaded.
std::unique_ptr<TagReader> LoadTagsModule();

}  // namespace wavecrest
