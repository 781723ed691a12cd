// Standard input of the console in chunks of any sizes: every line comes out
// UTF-8, without a line end, and nothing is held beyond the line being read.
#include "app/console/input_lines.h"
#include "core/text.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using wavecrest::fuzz::Check;
  FuzzedDataProvider input(data, size);
  wavecrest::InputLines lines;
  std::size_t newlines = 0;
  std::size_t taken = 0;
  const auto takeAll = [&] {
    while (auto line = lines.Next()) {
      ++taken;
      Check(wavecrest::IsValidUtf8(line->text), "a line is UTF-8");
      Check(line->text.find('\n') == std::string::npos, "a line holds no LF");
      Check(line->cut || line->text.size() <= 3 * wavecrest::InputLines::kMaxLineBytes,
            "a whole line is within the limit (a Windows-1252 byte is at most 3 in UTF-8)");
    }
  };
  while (input.remaining_bytes() > 0) {
    const std::string chunk = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(1, 4096));
    for (const char c : chunk) newlines += c == '\n';
    lines.Append(chunk);
    takeAll();
    Check(lines.Held() <= wavecrest::InputLines::kMaxLineBytes + 4096, "nothing is held beyond the line being read");
  }
  lines.Finish();
  takeAll();
  Check(taken >= newlines, "every line end ends a line");
  Check(lines.Held() == 0 || !lines.Next(), "the end of input leaves no line untaken");
  return 0;
}
