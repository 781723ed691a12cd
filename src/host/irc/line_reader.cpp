#include "host/irc/line_reader.h"

namespace wavecrest::irc {

std::vector<std::string> LineReader::Append(std::string_view bytes) {
  std::vector<std::string> lines;
  partial_.append(bytes);
  std::size_t start = 0;
  for (std::size_t nl; (nl = partial_.find('\n', start)) != std::string::npos; start = nl + 1) {
    std::string line = partial_.substr(start, nl - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.size() <= kMaxLineBytes) lines.push_back(line);
  }
  partial_.erase(0, start);
  if (partial_.size() > kMaxLineBytes) partial_.clear();
  return lines;
}

void LineReader::Reset() {
  partial_.clear();
  discarding_ = false;
}

}  // namespace wavecrest::irc
