#pragma once

// The bytes a server sends, cut into lines. A line ends at LF or CR (CR LF
// is one end); empty lines are skipped. A line longer than kMaxLineBytes is
// no line of this protocol (512 bytes, 8191 more for message tags): it is
// dropped whole, up to its line end, however many reads it spans, so no
// part of it is ever taken for a line of its own.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::irc {

inline constexpr std::size_t kMaxLineBytes = 16 * 1024;

class LineReader {
 public:
  // Takes the bytes of one read; returns the lines they complete, in order.
  std::vector<std::string> Append(std::string_view bytes);
  // Forgets a line begun: the connection is new.
  void Reset();

 private:
  std::string partial_;
  bool discarding_ = false;  // inside an over-long line, until its end
};

}  // namespace wavecrest::irc
