// The ID3v1 and MPEG frame-header readers on a file of any bytes: they answer
// UTF-8 fields of their fixed widths, a bit rate from the table or nothing,
// and never read outside the file.
#include "trackinfo/id3.h"
#include "trackinfo/mpeg_header.h"
#include "core/text.h"
#include "fuzz_check.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A file of this process's own, removed when the run ends.
struct ScratchFile {
  std::string path =
      (std::filesystem::temp_directory_path() / ("wavecrest-fuzz-track-" + std::to_string(::getpid()) + ".mp3")).string();
  ~ScratchFile() { ::unlink(path.c_str()); }
};

const std::string& FilePath() {
  static const ScratchFile file;
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using wavecrest::fuzz::Check;
  const std::string& path = FilePath();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                static_cast<std::streamsize>(size));
  const std::string fields[] = {wavecrest::ReadTagTitle(path), wavecrest::ReadTagArtist(path),
                                wavecrest::ReadTagAlbum(path), wavecrest::ReadTagYear(path),
                                wavecrest::ReadTagComment(path)};
  for (const std::string& field : fields) {
    Check(wavecrest::IsValidUtf8(field), "a tag field is UTF-8");
    Check(field == wavecrest::kNoTag || size >= 256, "a file shorter than 256 bytes has no tag");
    Check(wavecrest::TagFieldText(field).find('\0') == std::string::npos, "a shown field holds no NUL");
  }
  const std::string rate = wavecrest::ReadBitRate(path);
  Check(rate.empty() || wavecrest::kBitRateTable.find(rate) != std::string_view::npos, "a bit rate is from the table");
  Check(rate.empty() || size >= 256, "a file shorter than 256 bytes has no bit rate");
  if (size > 0) {
    const std::string slot = wavecrest::SlotFromBits(data[0], 4, 7, 4, wavecrest::kBitRateTable);
    Check(slot.size() <= 4, "a slot is at most its width");
  }
  return 0;
}
