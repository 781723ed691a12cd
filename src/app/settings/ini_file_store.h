#pragma once

// The settings file on disk. Every write replaces the file atomically: the new
// content goes to a temporary file beside it, is flushed to the disk, and is
// renamed over the old one, so a crash or a full disk never leaves a
// half-written or empty settings file. A write that fails leaves the old file
// exactly as it was and answers false.

#include "core/settings_store.h"

#include <filesystem>
#include <optional>
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

// Reads a whole file as UTF-8 text (Windows-1252 when it is not valid UTF-8).
// Nothing when it does not exist; an error text in `error` when it exists but
// cannot be read.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path, std::string* error = nullptr);

// Replaces `path` atomically with `content`. False (and the old file
// untouched) on any failure, with the reason in `error` when given.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view content, std::string* error = nullptr);

}  // namespace wavecrest
