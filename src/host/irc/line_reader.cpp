#include "host/irc/line_reader.h"

namespace wavecrest::irc {

std::vector<std::string> LineReader::Append(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find_first_of("\r\n");
    const std::string_view piece = bytes.substr(0, end);
    if (!discarding_) {
      if (partial_.size() + piece.size() > kMaxLineBytes) {
        discarding_ = true;
        partial_.clear();
      } else {
        partial_.append(piece);
      }
    }
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
    if (!discarding_ && !partial_.empty()) lines.push_back(std::move(partial_));
    partial_.clear();
    discarding_ = false;
  }
  return lines;
}

void LineReader::Reset() {
  partial_.clear();
  discarding_ = false;
}

}  // namespace wavecrest::irc
