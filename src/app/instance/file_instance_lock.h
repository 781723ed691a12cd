#pragma once

// Another instance is one that holds the lock file beside the same settings
// file, so two profiles can run side by side. The lock is an advisory lock
// held by the open file: the system drops it when the process ends, even by a
// crash, so a stale lock file never blocks a new start.

#include "core/instance_lock.h"

#include <filesystem>

namespace wavecrest {

class FileInstanceLock final : public InstanceLock {
 public:
  explicit FileInstanceLock(std::filesystem::path settingsPath);
  ~FileInstanceLock() override;
  FileInstanceLock(const FileInstanceLock&) = delete;
  FileInstanceLock& operator=(const FileInstanceLock&) = delete;

  bool AnotherInstanceRunning() override;

 private:
  std::filesystem::path lockPath_;
  int fd_ = -1;
};

}  // namespace wavecrest
