// The tag and frame-header readers on a file of any bytes: the ID3v1 fields
// are UTF-8 of their fixed widths, an ID3v2 tag is skipped by the size its
// header gives, a bit rate is one MPEG audio could have or nothing, and
// nothing is read outside the file.
#include "core/control_characters.h"
#include "core/text.h"
#include "fuzz_check.h"
#include "trackinfo/id3.h"
#include "trackinfo/mpeg_header.h"
#include "trackinfo/track_info.h"

#include <unistd.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using wavecrest::fuzz::Check;

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

// Stands in for the tag library: answers the input itself in every field,
// so hostile ID3v2 text reaches the system's side.
class EchoTagReader final : public wavecrest::TagReader {
 public:
  explicit EchoTagReader(std::string_view bytes) : bytes_(bytes) {}
  std::optional<wavecrest::TagFields> ReadId3v2(const std::string&) override {
    ++reads;
    return wavecrest::TagFields{bytes_, bytes_, bytes_, bytes_, bytes_};
  }
  int reads = 0;

 private:
  std::string bytes_;
};

void CheckRate(std::optional<int> kbps) {
  Check(!kbps || (*kbps >= 1 && *kbps <= 640), "a bit rate is one MPEG audio can have");
}

void CheckRateText(const std::string& rate, std::size_t fileSize) {
  if (rate.empty()) return;
  int kbps = 0;
  const auto [end, error] = std::from_chars(rate.data(), rate.data() + rate.size(), kbps);
  Check(error == std::errc() && end == rate.data() + rate.size(), "a bit rate is digits");
  CheckRate(kbps);
  Check(fileSize >= 256, "a file shorter than 256 bytes has no bit rate");
}

void CheckTags(const std::string& path, std::string_view data) {
  EchoTagReader reader(data);
  const wavecrest::TagFields tag = wavecrest::ReadTags(path, reader);
  const bool id3v1 = wavecrest::ReadId3v1Tag(path).has_value();
  Check(!id3v1 || reader.reads == 0, "a file with an ID3v1 tag is not handed to the tag library");
  for (const std::string* field : {&tag.artist, &tag.title, &tag.album, &tag.year, &tag.comment}) {
    Check(wavecrest::IsValidUtf8(*field), "a tag field is UTF-8");
    Check(id3v1 || wavecrest::CodePointCount(*field) <= wavecrest::kMaxId3v2FieldCodePoints, "an ID3v2 field is bounded");
    Check(!wavecrest::fuzz::HasControl(wavecrest::PlainLine(*field)), "a field made one line holds no control");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = FilePath();
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(size));
  const std::string fields[] = {wavecrest::ReadTagTitle(path), wavecrest::ReadTagArtist(path),
                                wavecrest::ReadTagAlbum(path), wavecrest::ReadTagYear(path),
                                wavecrest::ReadTagComment(path)};
  for (const std::string& field : fields) {
    Check(wavecrest::IsValidUtf8(field), "a tag field is UTF-8");
    Check(field == wavecrest::kNoTag || size >= 256, "a file shorter than 256 bytes has no tag");
    Check(wavecrest::TagFieldText(field).find('\0') == std::string::npos, "a shown field holds no NUL");
  }
  CheckTags(path, bytes);

  const std::uint64_t tag = wavecrest::Id3v2TagBytes(bytes);
  Check(tag == 0 || (tag >= 10 && bytes.substr(0, 3) == "ID3"), "an ID3v2 tag has its header");
  CheckRate(wavecrest::BitRateOfAudio(bytes));
  if (tag > 0 && tag < size) CheckRate(wavecrest::BitRateOfAudio(bytes.substr(tag)));
  CheckRateText(wavecrest::ReadBitRate(path), size);
  return 0;
}
