#include "app/console/input_lines.h"

#include "core/text.h"

namespace wavecrest {
namespace {

// The length of `text` cut to at most `limit` bytes without splitting a
// UTF-8 sequence.
std::size_t WholeCharacters(std::string_view text, std::size_t limit) {
  std::size_t length = limit;
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

}  // namespace

void InputLines::Append(std::string_view bytes) {
  // What was taken is dropped once it is most of the buffer: each byte is
  // moved a bounded number of times.
  if (begin_ > 0 && begin_ >= buffer_.size() / 2) {
    buffer_.erase(0, begin_);
    begin_ = 0;
  }
  buffer_.append(bytes);
}

void InputLines::Finish() { finished_ = true; }

std::optional<InputLine> InputLines::Take(std::size_t length, std::size_t skip, bool cut) {
  std::string_view line = std::string_view(buffer_).substr(begin_, length);
  if (!cut && line.ends_with('\r')) line.remove_suffix(1);
  InputLine taken{ToUtf8(line), cut};
  begin_ += length + skip;
  searched_ = 0;
  return taken;
}

std::optional<InputLine> InputLines::Next() {
  for (;;) {
    const std::string_view held = std::string_view(buffer_).substr(begin_);
    const std::size_t lf = held.find('\n', searched_);
    if (lf == std::string_view::npos) {
      searched_ = held.size();
      if (dropping_) {
        begin_ = buffer_.size();
        searched_ = 0;
        return std::nullopt;
      }
      if (held.size() > kMaxLineBytes) {
        dropping_ = true;
        auto line = Take(WholeCharacters(held, kMaxLineBytes), 0, true);
        begin_ = buffer_.size();
        return line;
      }
      if (finished_ && !held.empty()) return Take(held.size(), 0, false);
      return std::nullopt;
    }
    if (dropping_) {
      dropping_ = false;
      begin_ += lf + 1;
      searched_ = 0;
      continue;
    }
    if (lf > kMaxLineBytes) {
      // The whole of it came at once: cut it, and drop the rest of it now.
      const std::size_t length = WholeCharacters(held, kMaxLineBytes);
      return Take(length, lf + 1 - length, true);
    }
    return Take(lf, 1, false);
  }
}

}  // namespace wavecrest
