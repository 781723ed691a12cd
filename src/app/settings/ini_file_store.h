#pragma once

// The settings file on disk. Every write is a change of one key in the file
// as it is now: under the write lock (SettingsWriteLock) it reads the whole
// file, changes the key and replaces the file atomically
// (ReplaceFileAtomically), so a crash or a full disk never leaves a
// half-written or empty settings file, and no other process's keys are ever
// rolled back. Missing folders are made (private) on the first write. A write
// that fails leaves the old file exactly as it was, answers false and says
// why to the diagnostics; without diagnostics the first failure is said once
// on standard error. A read of a file that is missing or cannot be read
// answers "".
//
// Creating a store removes the temporary files of writes that a crash or a
// kill cut short.
//
// Nothing is cached: every read and write goes to the disk, so a change made
// by hand while the program runs is seen at once. UI thread only.

#include "app/settings/text_file.h"  // the file operations the store is built on
#include "core/settings_store.h"

#include <filesystem>
#include <string>

namespace wavecrest {

class IniFileStore final : public SettingsStore {
 public:
  explicit IniFileStore(std::filesystem::path path);

  std::string ReadIni(std::string_view section, std::string_view key) override;
  bool WriteIni(std::string_view section, std::string_view key, std::string_view value) override;

  const std::filesystem::path& Path() const { return path_; }

 private:
  bool Unwritten(const std::string& why);

  std::filesystem::path path_;
  bool toldUnwritable_ = false;
};

}  // namespace wavecrest
