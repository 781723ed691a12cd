#pragma once

// The files a walk selected, as full paths side by side in one block of
// bytes: tens of thousands of paths, without a string object (and a heap
// block) for each.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest {

class FoundFiles {
 public:
  void Reserve(std::size_t paths) { ends_.reserve(paths); }
  // Adds the path `directory` + `name`; `directory` ends in "/".
  void Add(std::string_view directory, std::string_view name) {
    bytes_.append(directory).append(name);
    ends_.push_back(static_cast<std::uint32_t>(bytes_.size()));
  }

  std::size_t Count() const { return ends_.size(); }
  std::size_t Bytes() const { return bytes_.size(); }
  std::string_view operator[](std::size_t i) const {
    const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(bytes_).substr(begin, ends_[i] - begin);
  }
  // Each path as a string of its own, in found order.
  std::vector<std::string> Strings() const {
    std::vector<std::string> paths;
    paths.reserve(Count());
    for (std::size_t i = 0; i < Count(); ++i) paths.emplace_back((*this)[i]);
    return paths;
  }

 private:
  std::string bytes_;
  std::vector<std::uint32_t> ends_;
};

}  // namespace wavecrest
