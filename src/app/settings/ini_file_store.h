#pragma once

// The settings file on disk. Every write reads the whole file and replaces it
// atomically (ReplaceFileAtomically), so a crash or a full disk never leaves a
// half-written or empty settings file. A write that fails leaves the old file
// exactly as it was, answers false and says why to the diagnostics. A read of
// a file that is missing or cannot be read answers "".
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
  std::filesystem::path path_;
};

}  // namespace wavecrest
