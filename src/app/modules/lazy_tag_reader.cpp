#include "app/modules/lazy_tag_reader.h"

#include "app/modules/module_loader.h"

#include <cstdio>
#include <utility>

namespace wavecrest {

LazyTagReader::LazyTagReader(Factory factory) : factory_(std::move(factory)) {}

std::optional<TagFields> LazyTagReader::ReadId3v2(const std::string& path) {
  if (!tried_) {
    tried_ = true;
    real_ = factory_();
  }
  if (!real_) return std::nullopt;
  return real_->ReadId3v2(path);
}

std::unique_ptr<TagReader> LoadTagsModule() {
  std::string why;
  void* make = ModuleFunction("wavecrest-tags.so", "WavecrestMakeTagReader", why);
  if (make == nullptr) {
    std::fprintf(stderr, "wavecrest: cannot load the tag reader (no ID3v2 tags): %s\n", why.c_str());
    return nullptr;
  }
  return std::unique_ptr<TagReader>(reinterpret_cast<decltype(&WavecrestMakeTagReader)>(make)());
}

}  // namespace wavecrest
