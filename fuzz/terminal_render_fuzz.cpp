// Everything the console writes to a terminal, on any text: the pretty chat
// line, the escaped diagnostics and /state's JSON strings carry no control
// character but the style sequences the renderer itself writes, and the
// pretty line shows exactly the text the system's one reader read.
#include "app/console/state_json.h"
#include "app/console/terminal_text.h"
#include "core/chat_html.h"
#include "core/control_characters.h"
#include "core/text.h"
#include "fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

// The text with the renderer's own SGR sequences (ESC [ digits and ; m) removed.
std::string WithoutStyleSequences(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '[') {
      std::size_t j = i + 2;
      while (j < text.size() && ((text[j] >= '0' && text[j] <= '9') || text[j] == ';')) ++j;
      if (j < text.size() && text[j] == 'm') {
        i = j;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using wavecrest::fuzz::Check;
  using wavecrest::fuzz::HasControl;
  FuzzedDataProvider input(data, size);
  wavecrest::TerminalPalette palette;
  palette.use = input.ConsumeBool() ? wavecrest::ColourUse::kColours : wavecrest::ColourUse::kNoColours;
  palette.background = input.PickValueInArray(
      {wavecrest::TerminalBackground::kUnknown, wavecrest::TerminalBackground::kDark, wavecrest::TerminalBackground::kLight});
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::string rendered = wavecrest::RenderChatHtml(text, palette);
  Check(!HasControl(WithoutStyleSequences(rendered)), "a rendered chat line drives nothing");
  std::string read;
  for (const auto& run : wavecrest::ReadChatHtml(wavecrest::ToUtf8(text)).runs) {
    read += wavecrest::RemoveControls(run.text);
  }
  Check(WithoutStyleSequences(rendered) == read, "the rendered line shows what the reader read, and only that");
  if (palette.use == wavecrest::ColourUse::kNoColours) {
    Check(rendered.find("\x1b[38") == std::string::npos && rendered.find("\x1b[39") == std::string::npos,
          "NO_COLOR writes no colour");
  }
  Check(!HasControl(wavecrest::EscapeControls(text)), "escaped text holds no control");
  Check(!HasControl(wavecrest::JsonString(text)), "a JSON string holds no control");
  Check(!HasControl(wavecrest::WithoutControlCharacters(text)), "stripped text holds no control");
  return 0;
}
