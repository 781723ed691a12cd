#include "app/settings/ini_file_store.h"

#include "app/settings/text_file.h"
#include "app/settings/write_lock.h"
#include "core/diagnostics.h"
#include "core/ini_text.h"
#include "core/control_characters.h"
#include "core/text.h"

#include <cstdio>
#include <optional>

namespace wavecrest {

IniFileStore::IniFileStore(std::filesystem::path path) : path_(std::move(path)) {
  // Writes cut short by a crash or a kill leave their temporary files; none
  // can be in progress while the write lock is held.
  std::error_code ec;
  if (!std::filesystem::is_directory(path_.has_parent_path() ? path_.parent_path() : ".", ec)) return;
  const SettingsWriteLock lock(path_);
  if (lock.Held()) RemoveStaleTemporaryFiles(path_);
}

std::string IniFileStore::ReadIni(std::string_view section, std::string_view key) {
  const auto content = ReadTextFile(path_);
  if (!content) return {};
  return IniLookup(*content, section, LowerCase(key)).value_or("");
}

bool IniFileStore::WriteIni(std::string_view section, std::string_view key, std::string_view value) {
  std::string error;
  if (!CreateMissingFolders(path_.parent_path(), &error)) return Unwritten("could not be written: " + error);
  // Read, change and replace under the lock, so that the copy renamed into
  // place holds every key other processes wrote up to now.
  const SettingsWriteLock lock(path_);
  const auto content = ReadTextFile(path_, &error);
  // A file that exists but cannot be read must not be replaced by one that
  // holds only this key: that would lose everything else the member stored.
  if (!content && !error.empty()) return Unwritten("was not written, as it could not be read: " + error);
  if (ReplaceFileAtomically(path_, IniWithValue(content.value_or(""), section, key, value), &error)) return true;
  return Unwritten("could not be written: " + error);
}

bool IniFileStore::Unwritten(const std::string& why) {
  const std::string note = "settings file " + path_.string() + " " + why;
  Diagnose(note);
  // A change that is not kept must not go unnoticed, but a line on every
  // command would drown the console: without --verbose it is said once.
  if (!Diagnosing() && !toldUnwritable_) {
    std::fprintf(stderr, "wavecrest: %s (changes are kept only until the program ends)\n",
                 EscapeControls(note).c_str());
    std::fflush(stderr);
  }
  toldUnwritable_ = true;
  return false;
}

}  // namespace wavecrest
