#include "core/files.h"

#include "core/text.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace wavecrest {

namespace fs = std::filesystem;

namespace {

bool IsOrdinaryFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool DirectoryHoldsOrdinaryFile(const fs::path& directory) {
  std::error_code error;
  fs::directory_iterator it(directory, error);
  if (error) return false;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) return false;
    const std::string name = it->path().filename().string();
    if (IsHiddenName(name)) continue;
    std::error_code typeError;
    if (it->is_regular_file(typeError)) return true;
  }
  return false;
}

// The name in `directory` equal to `component` without regard to case; the
// exact name when it exists.
std::optional<std::string> MatchComponent(const fs::path& directory, const std::string& component) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(directory / component, error))) return component;
  const std::string wanted = LowerCase(component);
  std::optional<std::string> best;
  fs::directory_iterator it(directory, error);
  if (error) return std::nullopt;
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) break;
    std::string name = it->path().filename().string();
    if (LowerCase(name) != wanted) continue;
    if (!best || name < *best) best = std::move(name);
  }
  return best;
}

}  // namespace

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  if (path.back() == '/') return DirectoryHoldsOrdinaryFile(fs::path(path));
  const fs::path file(path);
  if (IsHiddenName(file.filename().string())) return false;
  return IsOrdinaryFile(file);
}

std::string WhyFileExistsFails(const std::string& path) {
  if (FileExists(path)) return {};
  if (path.empty()) return "it is empty";
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(path), error);
  if (!fs::exists(status)) return "there is no such directory";
  const bool directory = fs::is_directory(status);
  if (path.back() != '/') {
    if (directory) return "it does not end with /, which a directory must";
    if (IsHiddenName(fs::path(path).filename().string())) return "its name begins with . (a hidden file)";
    return "it is neither a directory nor an ordinary file";
  }
  if (!directory) return "it is not a directory";
  fs::directory_iterator listing(fs::path(path), error);
  if (error) return "it cannot be read (" + error.message() + ")";
  return "no file lies directly in it (folders and hidden files do not count): give the folder that holds the "
         "songs themselves";
}

std::string ResolvePathIgnoringCase(const std::string& path) {
  if (path.empty()) return path;
  std::vector<std::string> components;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::size_t end = slash == std::string::npos ? path.size() : slash;
    components.push_back(path.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  // components[0] is empty for an absolute path; the last is empty when the
  // path ends in "/". Empty pieces (doubled slashes), "." and ".." stay as they are.
  std::string resolved;
  fs::path directory = path.front() == '/' ? fs::path("/") : fs::path(".");
  bool matching = true;
  for (std::size_t i = 0; i < components.size(); ++i) {
    std::string piece = components[i];
    if (matching && !piece.empty() && piece != "." && piece != "..") {
      if (std::optional<std::string> found = MatchComponent(directory, piece)) {
        piece = std::move(*found);
      } else {
        matching = false;
      }
    }
    if (matching && !piece.empty()) directory /= piece;
    if (i > 0) resolved += '/';
    resolved += piece;
  }
  return resolved;
}

}  // namespace wavecrest
