// The INI text rules: any bytes decode to UTF-8, a lookup never fails, and a
// one-key change sets exactly that key and leaves every other as it was.
#include "core/ini_text.h"
#include "core/text.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

constexpr const char* kKeys[] = {"screen name", "handle", "font", "front ascii", "load", "volume", "trigger", "directory"};

// What a value reads back as: one line, UTF-8, cut to 749 characters.
std::string Stored(const std::string& value) {
  std::string line = wavecrest::ToUtf8(value);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return std::string(wavecrest::FirstCodePoints(line, wavecrest::kIniValueMaxChars));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using wavecrest::fuzz::Check;
  FuzzedDataProvider input(data, size);
  const std::string key = kKeys[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kKeys) - 1)];
  const std::string value = input.ConsumeRandomLengthString(1000);
  const std::string content = wavecrest::IniTextFromBytes(input.ConsumeRemainingBytesAsString());
  Check(wavecrest::IsValidUtf8(content), "decoded text is UTF-8");

  const std::string changed = wavecrest::IniWithValue(content, "settings", key, value);
  Check(wavecrest::IsValidUtf8(changed), "a change keeps the text UTF-8");
  Check(wavecrest::IniLookup(changed, "settings", key) == Stored(value), "the key reads back what was written");
  for (const char* other : kKeys) {
    if (other == key) continue;
    Check(wavecrest::IniLookup(changed, "settings", other) == wavecrest::IniLookup(content, "settings", other),
          "every other key is left as it was");
  }
  // Written again with the same value, nothing changes: the line ends are not doubled.
  Check(wavecrest::IniWithValue(changed, "settings", key, value) == changed, "a second write is a no-op");
  return 0;
}
