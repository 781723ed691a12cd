#include "app/settings/ini_file_store.h"

#include "app/settings/text_file.h"
#include "core/diagnostics.h"
#include "core/ini_text.h"
#include "core/text.h"

#include <optional>

namespace wavecrest {

IniFileStore::IniFileStore(std::filesystem::path path) : path_(std::move(path)) {}

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
