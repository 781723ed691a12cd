#include "app/settings/write_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace wavecrest {
namespace {

bool LockExclusively(int fd) {
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// The lock is removed by whoever lets it go, so a lock taken on a file that
// has meanwhile been removed (or removed and made again) guards nothing: it
// counts only while the name still leads to the locked file.
bool StillNamed(int fd, const std::filesystem::path& path) {
  struct stat held {};
  struct stat named {};
  if (::fstat(fd, &held) != 0 || ::stat(path.c_str(), &named) != 0) return false;
  return held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

}  // namespace

SettingsWriteLock::SettingsWriteLock(const std::filesystem::path& settingsPath)
    : lockPath_(settingsPath.string() + ".write-lock") {
  // Bounded: each retry means another writer finished in between.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (LockExclusively(fd) && StillNamed(fd, lockPath_)) {
      fd_ = fd;
      return;
    }
    ::close(fd);
  }
}

SettingsWriteLock::~SettingsWriteLock() {
  if (fd_ < 0) return;
  // Removed before it is let go: a writer waiting on it then finds the name
  // gone and makes a new one.
  ::unlink(lockPath_.c_str());
  ::close(fd_);
}

}  // namespace wavecrest
