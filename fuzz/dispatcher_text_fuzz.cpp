// The dispatcher's text routines on any line: case mapping, space removal,
// search and replace, the first word and the command table's match.
#include "commands/command_table.h"
#include "core/dispatcher.h"
#include "core/text.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using wavecrest::fuzz::Check;
  FuzzedDataProvider input(data, size);
  const std::string trigger = input.ConsumeBool() ? "" : input.ConsumeBytesAsString(1);
  const char* extensions[] = {"mp3", "wav", "wma"};
  const std::string extension = extensions[input.ConsumeIntegralInRange<int>(0, 2)];
  const std::string find = input.ConsumeRandomLengthString(16);
  const std::string replacement = input.ConsumeRandomLengthString(16);
  const std::string line = wavecrest::ToUtf8(input.ConsumeRemainingBytesAsString());

  const std::string lower = wavecrest::LowerCase(line);
  Check(wavecrest::IsValidUtf8(lower) && wavecrest::IsValidUtf8(wavecrest::UpperCase(line)), "case mapping gives UTF-8");
  Check(wavecrest::LowerCase(lower) == lower, "lower case is stable");
  Check(wavecrest::RemoveSpaces(line).find(' ') == std::string::npos, "no space is left");
  Check(wavecrest::FirstWord(lower).find(' ') == std::string::npos, "the first word holds no space");
  Check(lower.starts_with(wavecrest::FirstWord(lower)), "the first word begins the line");

  const std::string replaced = wavecrest::ReplaceAll(line, find, replacement);
  if (find.empty() || wavecrest::FindIgnoringCase(line, find) == std::string::npos) {
    Check(replaced == line, "nothing to replace changes nothing");
  }
  if (const auto dispatch = wavecrest::MatchCommand(wavecrest::CommandTable(), trigger, extension, lower)) {
    const std::string word(dispatch->entry->word);
    Check(lower.starts_with(word) || lower.starts_with(trigger + word), "a match begins with its word");
  }
  return 0;
}
