#include "app/settings/ini_file_store.h"

#include "core/diagnostics.h"

#include "core/ini_text.h"
#include "core/text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
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

}  // namespace

IniFileStore::IniFileStore(std::filesystem::path path) : path_(std::move(path)) {}

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
  return ToUtf8(bytes.str());
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
  std::string name = ".";
  name.append(target.filename().string()).append(".XXXXXX");
  std::string tmpl = (dir / name).string();
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return fail(std::strerror(errno));

  // Keep the old file's permissions; a new file gets the usual 0666 & ~umask.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    (void)::fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    (void)::fchmod(fd, 0666 & ~mask);
  }

  const bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
  int lastError = errno;
  const bool closed = ::close(fd) == 0;
  if (written && !closed) lastError = errno;
  const bool renamed = written && closed && ::rename(tmpl.c_str(), target.c_str()) == 0;
  if (written && closed && !renamed) lastError = errno;
  if (!renamed) {
    ::unlink(tmpl.c_str());
    return fail(std::strerror(lastError));
  }
  // Make the rename itself durable.
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    (void)::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

std::string IniFileStore::ReadIni(std::string_view section, std::string_view key) {
  const auto content = ReadTextFile(path_);
  if (!content) return {};
  return IniLookup(*content, section, LowerCase(key)).value_or("");
}

bool IniFileStore::WriteIni(std::string_view section, std::string_view key, std::string_view value) {
  std::string error;
  const auto content = ReadTextFile(path_, &error);
  // A file that exists but cannot be read must not be replaced by one that
  // holds only this key: that would lose everything else the member stored.
  if (!content && !error.empty()) {
    Diagnose("settings file " + path_.string() + " was not written, as it could not be read: " + error);
    return false;
  }
  if (ReplaceFileAtomically(path_, IniWithValue(content.value_or(""), section, key, value), &error)) return true;
  Diagnose("settings file " + path_.string() + " could not be written: " + error);
  return false;
}

}  // namespace wavecrest
