#pragma once

// The INI text rules of the settings file, as pure functions over the file's
// content so they can be tested without a disk.
//
// The format is the one a Windows profile reader understands: "[section]"
// lines and "key=value" lines, section and key names matched without regard
// to case and surrounding blanks. Unlike a Windows reader, the value is taken
// exactly as it stands after the first "=": decorations may begin or end with
// spaces, and what the member stored must come back unchanged.

#include <optional>
#include <string>
#include <string_view>

namespace wavecrest {

inline constexpr std::size_t kIniValueMaxChars = 749;

// The bytes of a settings file as UTF-8 text, decoded line by line: a line
// that is valid UTF-8 stays as it is, any other is read as Windows-1252 (a
// file carried over from the original platform). Decoding the file as a
// whole would let one stray byte turn every other line into mojibake, and
// the next write would store that for good.
std::string IniTextFromBytes(std::string_view bytes);

// The value of the first `key` in the first `section` that holds it, cut to
// 749 characters; nothing when absent. `content` is UTF-8 (a leading BOM and
// CR LF line ends are accepted).
std::optional<std::string> IniLookup(std::string_view content, std::string_view section, std::string_view key);

// `content` with `key` in `section` set to `value` (see SettingsStore::WriteIni).
// New lines follow the content's own line ending (CR LF when its first line
// has one), written once: a last line ending in a lone CR gets only the LF. A
// BOM is kept.
std::string IniWithValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value);

}  // namespace wavecrest
