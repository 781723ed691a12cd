#pragma once

// The member's settings file: one INI section of text keys.
//
// Lifecycle: one store for the whole run, bound to one file when created.
// Threading: UI thread only. Failures: ReadIni answers "" for a missing file,
// section or key; WriteIni answers false when the file could not be written,
// in which case the file on disk is exactly as it was before the call.

#include <string>
#include <string_view>

namespace wavecrest {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The value of `key` in `section`, both matched without regard to case; the
  // first of duplicate keys wins. Values longer than 749 characters are cut.
  virtual std::string ReadIni(std::string_view section, std::string_view key) = 0;

  // Sets `key` in `section` to `value`: an existing key's value is replaced in
  // place, a new key is written in upper case at the end of its section, and
  // the file and section are created when missing.
  virtual bool WriteIni(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace wavecrest
