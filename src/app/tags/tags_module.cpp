// wavecrest-tags.so: the TagLib tag reader, loaded when the first file
// without an ID3v1 tag is asked about.
#include "app/modules/module_loader.h"
#include "app/tags/taglib_tag_reader.h"

extern "C" wavecrest::TagReader* WavecrestMakeTagReader() { return new wavecrest::TagLibTagReader(); }
