#pragma once

// Text helpers shared by every part of the system. All text inside the system
// is UTF-8; case mapping is Unicode-aware (ICU) because member input such as
// "JOSÉ" must match "josé" the way the original platform's case mapping did.

#include <string>
#include <string_view>

namespace wavecrest {

// Lower and upper case of a UTF-8 text, locale-independent (root locale).
// Invalid UTF-8 sequences come back as U+FFFD.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);

// The text with every space (U+0020) removed; tabs and case are untouched.
std::string RemoveSpaces(std::string_view text);

// Replaces every occurrence of `find`, searched without regard to case from
// the first character; after a replacement the search resumes right after the
// inserted text, so the replacement is never searched. An empty `find`
// changes nothing (and, unlike a naive loop, terminates).
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// Whether a case-insensitive `needle` occurs in `haystack` at a byte offset
// of at least `from`. Returns the byte offset of the first match, or npos.
std::size_t FindIgnoringCase(std::string_view haystack, std::string_view needle, std::size_t from = 0);

bool IsValidUtf8(std::string_view bytes);

// Converts bytes in the Windows-1252 code page (the original platform's ANSI
// code page) to UTF-8. Undefined code points map to U+FFFD.
std::string FromWindows1252(std::string_view bytes);

// Text from outside the system: valid UTF-8 is kept, anything else is read as
// Windows-1252.
std::string ToUtf8(std::string_view bytes);

// Number of Unicode code points of a UTF-8 text, and its first `count` code
// points (never cutting a character in half).
std::size_t CodePointCount(std::string_view text);
std::string_view FirstCodePoints(std::string_view text, std::size_t count);

}  // namespace wavecrest
