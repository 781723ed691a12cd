#pragma once

// An advisory lock that makes one settings write exclusive among all the
// processes that use the same settings file.
//
// A write reads the file, changes one key and renames a new copy over it.
// Two such writes interleaved would let the later rename bring back the
// earlier read, undoing the other's key; under this lock every write sees
// the file as it is now. The lock is an flock on "FILE.write-lock" beside the
// settings file, held only for the one write and removed when it is let go,
// so nothing stays behind. The system drops a dead holder's lock, and the
// next writer removes its file.
//
// It cannot be the instance lock: that one is held for the whole run, and a
// refused second instance must still be able to write while the first runs.

#include <filesystem>

namespace wavecrest {

class SettingsWriteLock {
 public:
  // Blocks until the lock is held. When the lock file cannot be made (a
  // folder that cannot be written), the write goes on unlocked: it will fail
  // on its own, and waiting would not help it.
  explicit SettingsWriteLock(const std::filesystem::path& settingsPath);
  ~SettingsWriteLock();
  SettingsWriteLock(const SettingsWriteLock&) = delete;
  SettingsWriteLock& operator=(const SettingsWriteLock&) = delete;

  bool Held() const { return fd_ >= 0; }

 private:
  std::filesystem::path lockPath_;
  int fd_ = -1;
};

}  // namespace wavecrest
