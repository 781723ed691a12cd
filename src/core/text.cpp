#include "core/text.h"

#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <vector>

namespace wavecrest {
namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

enum class Case { Lower, Upper };

std::string MapCase(std::string_view text, Case to) {
  // Chat lines are nearly always ASCII; the fast path keeps dispatch cheap.
  if (IsAscii(text)) {
    std::string out(text);
    for (char& c : out) {
      if (to == Case::Lower && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (to == Case::Upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
  }
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  if (to == Case::Lower) {
    u.toLower(icu::Locale::getRoot());
  } else {
    u.toUpper(icu::Locale::getRoot());
  }
  std::string out;
  u.toUTF8String(out);
  return out;
}

// Decodes one code point at `pos`, advancing it; malformed bytes give U+FFFD.
UChar32 NextCodePoint(std::string_view text, std::size_t& pos) {
  int32_t i = static_cast<int32_t>(pos);
  UChar32 c;
  U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, static_cast<int32_t>(text.size()), c);
  pos = static_cast<std::size_t>(i);
  return c < 0 ? 0xFFFD : c;
}

// Length in bytes of a case-insensitive match of `needle` at `at`, or npos.
std::size_t MatchLengthAt(std::string_view haystack, std::size_t at, std::string_view needle) {
  std::size_t h = at;
  std::size_t n = 0;
  while (n < needle.size()) {
    if (h >= haystack.size()) return std::string_view::npos;
    const UChar32 a = NextCodePoint(haystack, h);
    const UChar32 b = NextCodePoint(needle, n);
    if (a != b && u_foldCase(a, U_FOLD_CASE_DEFAULT) != u_foldCase(b, U_FOLD_CASE_DEFAULT)) {
      return std::string_view::npos;
    }
  }
  return h - at;
}

}  // namespace

std::string LowerCase(std::string_view text) { return MapCase(text, Case::Lower); }
std::string UpperCase(std::string_view text) { return MapCase(text, Case::Upper); }

std::string RemoveSpaces(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != ' ') out.push_back(c);
  }
  return out;
}

std::size_t FindIgnoringCase(std::string_view haystack, std::string_view needle, std::size_t from) {
  if (needle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
  std::size_t at = from;
  while (at < haystack.size()) {
    if (MatchLengthAt(haystack, at, needle) != std::string_view::npos) return at;
    NextCodePoint(haystack, at);
  }
  return std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t length = MatchLengthAt(text, at, find);
    if (length != std::string_view::npos) {
      out.append(replacement);
      at += length;
      continue;
    }
    const std::size_t start = at;
    NextCodePoint(text, at);
    out.append(text.substr(start, at - start));
  }
  return out;
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    int32_t pos = static_cast<int32_t>(i);
    UChar32 c;
    U8_NEXT(reinterpret_cast<const uint8_t*>(bytes.data()), pos, static_cast<int32_t>(bytes.size()), c);
    if (c < 0) return false;
    i = static_cast<std::size_t>(pos);
  }
  return true;
}

std::string FromWindows1252(std::string_view bytes) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-1252", &status);
  if (U_FAILURE(status)) return std::string(bytes);
  icu::UnicodeString u(bytes.data(), static_cast<int32_t>(bytes.size()), converter, status);
  ucnv_close(converter);
  std::string out;
  u.toUTF8String(out);
  return out;
}

std::string ToUtf8(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return std::string(bytes);
  return FromWindows1252(bytes);
}

std::size_t CodePointCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string_view FirstCodePoints(std::string_view text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == count) return text.substr(0, i);
      ++seen;
    }
  }
  return text;
}

}  // namespace wavecrest
