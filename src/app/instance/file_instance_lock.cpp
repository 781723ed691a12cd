#include "app/instance/file_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace wavecrest {

FileInstanceLock::FileInstanceLock(std::filesystem::path settingsPath)
    : lockPath_(settingsPath.string() + ".lock") {}

FileInstanceLock::~FileInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileInstanceLock::AnotherInstanceRunning() {
  if (fd_ >= 0) return false;  // this process holds it already
  const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;  // cannot check: count it as free
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held;
  }
  fd_ = fd;
  return false;
}

}  // namespace wavecrest
