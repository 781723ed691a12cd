#include "app/settings/text_file.h"

#include "core/ini_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace wavecrest {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Where the bytes really go: a settings file reached through a symbolic link
// is replaced at the link's target, so the link survives.
std::filesystem::path RealTarget(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_symlink(path, ec)) {
    const auto target = std::filesystem::canonical(path, ec);
    if (!ec) return target;
  }
  return path;
}

// mkstemp makes the temporary file private (0600); the file that replaces the
// old one keeps the old one's permissions, and a new file gets the usual
// 0666 & ~umask.
void GivePermissionsOf(const std::filesystem::path& target, int fd) {
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    (void)::fchmod(fd, old.st_mode & 07777);
    return;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  (void)::fchmod(fd, 0666 & ~mask);
}

// Makes a rename in `dir` durable: until the directory is flushed, a crash
// can bring back the old name.
void SyncDirectory(const std::filesystem::path& dir) {
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd < 0) return;
  (void)::fsync(dirFd);
  ::close(dirFd);
}

// The temporary file of a write to `target`: "." + its name + "." + the six
// characters mkstemp puts in place of XXXXXX.
std::string TemporaryPrefix(const std::filesystem::path& target) { return "." + target.filename().string() + "."; }
constexpr std::size_t kTemporarySuffixLength = 6;

bool IsTemporaryOf(const std::string& name, const std::string& prefix) {
  if (name.size() != prefix.size() + kTemporarySuffixLength || !name.starts_with(prefix)) return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alphanumeric) return false;
  }
  return true;
}

}  // namespace

bool CreateMissingFolders(const std::filesystem::path& dir, std::string* error) {
  std::error_code ec;
  if (dir.empty() || std::filesystem::is_directory(dir, ec)) return true;
  if (!CreateMissingFolders(dir.parent_path(), error)) return false;
  // Settings are the member's own: a folder made for them is private.
  if (::mkdir(dir.c_str(), 0700) == 0) return true;
  // Made meanwhile by another process, or a file standing in the way.
  const int why = errno == EEXIST ? (std::filesystem::is_directory(dir, ec) ? 0 : ENOTDIR) : errno;
  if (why == 0) return true;
  if (error) *error = dir.string() + ": " + std::strerror(why);
  return false;
}

int RemoveStaleTemporaryFiles(const std::filesystem::path& path) {
  const std::filesystem::path target = RealTarget(path);
  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
  const std::string prefix = TemporaryPrefix(target);
  std::error_code ec;
  int removed = 0;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsTemporaryOf(it->path().filename().string(), prefix)) continue;
    if (it->is_regular_file(ec) && std::filesystem::remove(it->path(), ec)) ++removed;
  }
  return removed;
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& path, std::string* error) {
  std::error_code ec;
  const auto status = std::filesystem::status(path, ec);
  if (ec || status.type() == std::filesystem::file_type::not_found) return std::nullopt;
  if (status.type() != std::filesystem::file_type::regular) {
    if (error) *error = "not a regular file";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = std::strerror(errno);
    return std::nullopt;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) {
    if (error) *error = "read error";
    return std::nullopt;
  }
  return IniTextFromBytes(bytes.str());
}

bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view content, std::string* error) {
  const auto fail = [error](const char* why) {
    if (error) *error = why;
    return false;
  };
  const std::filesystem::path target = RealTarget(path);
  std::error_code ec;
  if (std::filesystem::is_directory(target, ec)) return fail("it is a directory");

  const std::filesystem::path dir = target.has_parent_path() ? target.parent_path() : ".";
  std::string temporaryPath = (dir / (TemporaryPrefix(target) + std::string(kTemporarySuffixLength, 'X'))).string();
  const int fd = ::mkstemp(temporaryPath.data());
  if (fd < 0) return fail(std::strerror(errno));

  GivePermissionsOf(target, fd);
  const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
  int lastError = errno;
  const bool closed = ::close(fd) == 0;
  if (written && !closed) lastError = errno;
  const bool renamed = written && closed && ::rename(temporaryPath.c_str(), target.c_str()) == 0;
  if (written && closed && !renamed) lastError = errno;
  if (!renamed) {
    ::unlink(temporaryPath.c_str());
    return fail(std::strerror(lastError));
  }
  SyncDirectory(dir);
  return true;
}

}  // namespace wavecrest
