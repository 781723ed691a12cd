// The settings store on a real file: whatever the file holds, reads answer,
// a write sets its key and keeps the others, the file stays UTF-8, and
// nothing is left beside it.
#include "app/settings/ini_file_store.h"
#include "core/ini_text.h"
#include "core/text.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr const char* kKeys[] = {"screen name", "handle", "font", "load", "trigger"};

// A folder of this process's own, removed when the run ends.
struct ScratchFolder {
  fs::path path = fs::temp_directory_path() / ("wavecrest-fuzz-store-" + std::to_string(::getpid()));
  ScratchFolder() { fs::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

const fs::path& Folder() {
  static const ScratchFolder folder;
  return folder.path;
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using wavecrest::fuzz::Check;
  FuzzedDataProvider input(data, size);
  const std::string key = kKeys[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys) - 1)];
  const std::string value = input.ConsumeRandomLengthString(800);
  const fs::path path = Folder() / "wavecrest.dat";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << input.ConsumeRemainingBytesAsString();

  wavecrest::IniFileStore store(path);
  std::string before[std::size(kKeys)];
  for (std::size_t i = 0; i < std::size(kKeys); ++i) before[i] = store.ReadIni("settings", kKeys[i]);
  Check(store.WriteIni("settings", key, value), "a write to a writable folder succeeds");
  Check(wavecrest::IsValidUtf8(Bytes(path)), "the file is UTF-8 after a write");
  const std::string written = store.ReadIni("settings", key);
  Check(written == wavecrest::IniLookup(wavecrest::IniWithValue("", "settings", key, value), "settings", key),
        "the key reads back what was written");
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (kKeys[i] != key) Check(store.ReadIni("settings", kKeys[i]) == before[i], "every other key is kept");
  }
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(Folder())) ++entries;
  Check(entries == 1, "no temporary or lock file is left");
  return 0;
}
