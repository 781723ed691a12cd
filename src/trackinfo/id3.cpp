#include "trackinfo/id3.h"

#include "core/text.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace wavecrest {

namespace {

// The tag is looked for in the file's last bytes, a window wider than the
// 128-byte tag itself.
constexpr std::size_t kWindowBytes = 256;

// The last kWindowBytes of the file; nullopt when it cannot be read or is
// shorter.
std::optional<std::string> ReadSearchWindow(const std::string& path) {
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

// The window is raw bytes (audio data, then the tag), not text: only the
// ASCII letters are folded, so no byte is ever read as part of a character.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Where the first "tag" stands in the window, in any case; npos when nowhere.
std::size_t FindTagMarker(std::string_view window) {
  for (std::size_t at = 0; at + 3 <= window.size(); ++at) {
    if (AsciiLower(window[at]) == 't' && AsciiLower(window[at + 1]) == 'a' && AsciiLower(window[at + 2]) == 'g') {
      return at;
    }
  }
  return std::string_view::npos;
}

// Where each field stands, counted from the marker's first letter.
struct FieldPlace {
  std::size_t offset, width;
};
constexpr FieldPlace kTitle{3, 30}, kArtist{33, 30}, kAlbum{63, 30}, kYear{93, 4}, kComment{97, 30};

std::string FieldAt(std::string_view window, std::size_t marker, FieldPlace place) {
  const std::size_t start = marker + place.offset;
  if (start >= window.size()) return "";
  return ToUtf8(window.substr(start, place.width));
}

}  // namespace

std::string ReadTagField(const std::string& path, std::size_t offset, std::size_t width) {
  if (path.empty()) return "";
  const std::optional<std::string> window = ReadSearchWindow(path);
  if (!window) return kNoTag;
  const std::size_t marker = FindTagMarker(*window);
  if (marker == std::string_view::npos) return kNoTag;
  return FieldAt(*window, marker, FieldPlace{offset, width});
}

std::optional<TagFields> ReadId3v1Tag(const std::string& path) {
  if (path.empty()) return std::nullopt;
  const std::optional<std::string> window = ReadSearchWindow(path);
  if (!window) return std::nullopt;
  const std::size_t marker = FindTagMarker(*window);
  if (marker == std::string_view::npos) return std::nullopt;
  return TagFields{FieldAt(*window, marker, kArtist), FieldAt(*window, marker, kTitle), FieldAt(*window, marker, kAlbum),
                   FieldAt(*window, marker, kYear), FieldAt(*window, marker, kComment)};
}

std::string ReadTagTitle(const std::string& path) { return ReadTagField(path, kTitle.offset, kTitle.width); }
std::string ReadTagArtist(const std::string& path) { return ReadTagField(path, kArtist.offset, kArtist.width); }
std::string ReadTagAlbum(const std::string& path) { return ReadTagField(path, kAlbum.offset, kAlbum.width); }
std::string ReadTagYear(const std::string& path) { return ReadTagField(path, kYear.offset, kYear.width); }
std::string ReadTagComment(const std::string& path) { return ReadTagField(path, kComment.offset, kComment.width); }

std::string TagFieldText(std::string_view field) { return std::string(field.substr(0, field.find('\0'))); }

}  // namespace wavecrest
