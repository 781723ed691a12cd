// Server lines, lines to send, masks and URLs from arbitrary bytes: a parsed
// and re-formatted line never holds CR, LF or NUL and parses back to the same
// message; formatted parameters never become a second command.
#include "host/irc/case_mapping.h"
#include "host/irc/message.h"
#include "host/irc/url.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace wavecrest::irc;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

bool HoldsLineBreak(std::string_view line) { return line.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

std::string WithoutLineBreaks(std::string_view text) {
  std::string clean;
  for (const char c : text) {
    if (c != '\r' && c != '\n' && c != '\0') clean += c;
  }
  return clean;
}

void CheckRoundTrip(std::string_view input) {
  const std::optional<Message> message = ParseLine(input);
  if (!message) return;
  const std::string line = FormatLine(message->command, message->params);
  Require(!HoldsLineBreak(line));
  const std::optional<Message> back = ParseLine(line);
  Require(back && back->command == message->command && back->params == message->params);
}

// The input cut at 0xFF bytes: the parameters of a line to send, as hostile
// as a file name or a nick can make them.
void CheckFormatting(std::string_view input) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t at; (at = input.find('\xFF', start)) != std::string_view::npos; start = at + 1) {
    fields.emplace_back(input.substr(start, at - start));
  }
  fields.emplace_back(input.substr(start));
  const std::vector<std::string>& params = fields;
  const std::string line = FormatLine("PRIVMSG", params);
  Require(!HoldsLineBreak(line));
  const std::optional<Message> back = ParseLine(line);
  Require(back && back->command == "PRIVMSG" && back->params.size() == params.size());
  if (!params.empty()) Require(back->params.back() == WithoutLineBreaks(params.back()));
}

// A decoded channel written back into a URL path: every byte but letters,
// digits and the leading '#' as a percent escape, so a '%' the channel holds
// (from "%25") does not start an escape of its own.
std::string EscapedPath(std::string_view channel) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string path;
  for (std::size_t i = 0; i < channel.size(); ++i) {
    const auto byte = static_cast<unsigned char>(channel[i]);
    if ((i == 0 && byte == '#') || std::isalnum(byte) != 0) {
      path += channel[i];
    } else {
      path += '%';
      path += kHex[byte >> 4];
      path += kHex[byte & 0xF];
    }
  }
  return path;
}

void CheckMaskAndUrl(std::string_view input) {
  for (const CaseMapping mapping : {CaseMapping::kAscii, CaseMapping::kRfc1459, CaseMapping::kStrictRfc1459}) {
    Require(MaskMatches(mapping, input, input));
    const std::size_t half = input.size() / 2;
    (void)MaskMatches(mapping, input.substr(0, half), input.substr(half));
    Require(SameName(mapping, Fold(mapping, input), input));
  }
  const std::optional<Url> url = ParseUrl(input);
  if (!url) return;
  Require(!url->host.empty() && url->port != 0 && url->channel.size() >= 2 && url->channel.front() == '#');
  Require(url->channel.find_first_of(" ,\r\n") == std::string::npos);
  const std::string host = url->host.find(':') != std::string::npos ? "[" + url->host + "]" : url->host;
  const std::string again = (url->tls ? "ircs://" : "irc://") + host + ":" + std::to_string(url->port) + "/" + EscapedPath(url->channel);
  Require(ParseUrl(again) == url);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckRoundTrip(input);
  CheckFormatting(input);
  CheckMaskAndUrl(input);
  return 0;
}
