#pragma once

// Configuration files for the servers the tests start, written as templates:
// each "{name}" in the text is replaced by its value.

#include <string>
#include <utility>
#include <vector>

namespace wavecrest::testing {

inline std::string Filled(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [name, value] : values) {
    const std::string key = "{" + name + "}";
    for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + value.size())) {
      text.replace(at, key.size(), value);
    }
  }
  return text;
}

}  // namespace wavecrest::testing
