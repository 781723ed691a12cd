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

// Reads a whole file as UTF-8 text, line by line (IniTextFromBytes: a line
// that is not valid UTF-8 is read as Windows-1252).
// Nothing when it does not exist; an error text in `error` when it exists but
// cannot be read.
std::optional<std::string> ReadTextFile(const std::filesystem::path& path, std::string* error = nullptr);

// Replaces `path` atomically with `content`. False (and the old file
// untouched) on any failure, with the reason in `error` when given.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view content, std::string* error = nullptr);

// Makes `dir` and the folders above it that are missing, each private (0700).
// False, with the reason in `error`, when one cannot be made.
bool CreateMissingFolders(const std::filesystem::path& dir, std::string* error = nullptr);

// Removes the temporary files that writes to `path` left behind when they
// were cut short (a crash, a kill): only ours, by their exact name pattern.
// Call it only while no write to `path` can run (under its write lock).
// Answers how many were removed.
int RemoveStaleTemporaryFiles(const std::filesystem::path& path);

}  // namespace wavecrest
