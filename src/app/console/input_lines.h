#pragma once

// Standard input of the console, split into lines as it arrives.
//
// Lines are taken by offset from one buffer that is compacted only once most
// of it has been taken, so a long input costs time in proportion to its
// size. A line longer than kMaxLineBytes is not held whole: its first
// kMaxLineBytes (never half a character) are taken, marked as cut, and the
// rest of it is dropped as it arrives. Each line comes out as UTF-8 (bytes
// that are not are read as Windows-1252, the rule for text from outside),
// without its LF or CR LF.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest {

struct InputLine {
  std::string text;
  bool cut = false;  // longer than kMaxLineBytes: only its beginning is here
};

class InputLines {
 public:
  static constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;

  // More bytes of the input.
  void Append(std::string_view bytes);
  // The input has ended: a last line without a line end counts as a line.
  void Finish();
  // The next whole line, if the bytes so far hold one.
  std::optional<InputLine> Next();
  // Bytes held that no line has taken yet.
  std::size_t Held() const { return buffer_.size() - begin_; }

 private:
  std::optional<InputLine> Take(std::size_t length, std::size_t skip, bool cut);

  std::string buffer_;
  std::size_t begin_ = 0;     // the first byte not taken
  std::size_t searched_ = 0;  // bytes from begin_ known to hold no LF
  bool dropping_ = false;     // within the rest of a cut line
  bool finished_ = false;
};

}  // namespace wavecrest
