#include "trackinfo/id3.h"

#include "core/text.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace wavecrest {

namespace {

constexpr std::size_t kWindowBytes = 256;

// The last 256 bytes of the file; nullopt when it cannot be read or is shorter.
std::optional<std::string> ReadWindow(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  file.seekg(0, std::ios::end);
  const std::streamoff size = file.tellg();
  if (size < static_cast<std::streamoff>(kWindowBytes)) return std::nullopt;
  file.seekg(size - static_cast<std::streamoff>(kWindowBytes));
  std::string window(kWindowBytes, '\0');
  file.read(window.data(), static_cast<std::streamsize>(window.size()));
  if (file.gcount() != static_cast<std::streamsize>(kWindowBytes)) return std::nullopt;
  return window;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::size_t FindMarker(std::string_view window) {
  for (std::size_t at = 0; at + 3 <= window.size(); ++at) {
    if (AsciiLower(window[at]) == 't' && AsciiLower(window[at + 1]) == 'a' && AsciiLower(window[at + 2]) == 'g') {
      return at;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string ReadTagField(const std::string& path, std::size_t offset, std::size_t width) {
  if (path.empty()) return "";
  const std::optional<std::string> window = ReadWindow(path);
  if (!window) return kNoTag;
  const std::size_t marker = FindMarker(*window);
  if (marker == std::string_view::npos) return kNoTag;
  const std::size_t start = marker + offset;
  if (start >= window->size()) return "";
  return ToUtf8(std::string_view(*window).substr(start, width));
}

std::string ReadTagTitle(const std::string& path) { return ReadTagField(path, 3, 30); }
std::string ReadTagArtist(const std::string& path) { return ReadTagField(path, 33, 30); }
std::string ReadTagAlbum(const std::string& path) { return ReadTagField(path, 63, 30); }
std::string ReadTagYear(const std::string& path) { return ReadTagField(path, 93, 4); }
std::string ReadTagComment(const std::string& path) { return ReadTagField(path, 97, 30); }

std::string TagFieldText(std::string_view field) { return std::string(field.substr(0, field.find('\0'))); }

}  // namespace wavecrest
