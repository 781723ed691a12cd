#pragma once

// Whole-file reads and atomic replacement, for the settings file: the new
// content goes to a temporary file beside the old one, is flushed to the
// disk, and is renamed over it, so a crash or a full disk never leaves a
// half-written or empty file.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest {

// Reads a whole file as UTF-8 text (Windows-1252 when it is not valid UTF-8).
// Nothing when it does not exist; an error text in `error` when it exists but
// cannot be read.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path, std::string* error = nullptr);

// Replaces `path` atomically with `content`. False (and the old file
// untouched) on any failure, with the reason in `error` when given.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view content, std::string* error = nullptr);

}  // namespace wavecrest
