#include "core/ini_text.h"

#include "core/text.h"

#include <vector>

namespace wavecrest {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct Line {
  std::size_t begin;    // offset of the first character
  std::size_t end;      // offset just past the text, before CR/LF
  std::size_t next;     // offset of the following line
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t pos = content.starts_with(kBom) ? kBom.size() : 0;
  while (pos < content.size()) {
    std::size_t lf = content.find('\n', pos);
    const std::size_t next = lf == std::string_view::npos ? content.size() : lf + 1;
    std::size_t end = lf == std::string_view::npos ? content.size() : lf;
    if (end > pos && content[end - 1] == '\r') --end;
    lines.push_back({pos, end, next});
    pos = next;
  }
  return lines;
}

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) { return LowerCase(Trim(a)) == LowerCase(Trim(b)); }

// The section name of a "[name]" line, if it is one.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return t.substr(1, close - 1);
}

struct KeyLine {
  std::string_view key;
  std::size_t valueBegin;  // offset in the content
};

std::optional<KeyLine> ParseKeyLine(std::string_view content, const Line& line) {
  const std::string_view text = content.substr(line.begin, line.end - line.begin);
  const std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(text.substr(0, eq)), line.begin + eq + 1};
}

struct Found {
  bool sectionFound = false;
  std::size_t insertAt = 0;      // just after the last non-blank line of the section
  std::optional<Line> keyLine;   // the first line holding the key
  std::size_t valueBegin = 0;
};

Found Locate(std::string_view content, std::string_view section, std::string_view key) {
  Found found;
  bool inSection = false;
  for (const Line& line : SplitLines(content)) {
    const std::string_view text = content.substr(line.begin, line.end - line.begin);
    if (const auto name = SectionName(text)) {
      // A repeated section continues the first one, as profile readers treat it.
      inSection = SameName(*name, section);
      if (inSection && !found.sectionFound) {
        found.sectionFound = true;
        found.insertAt = line.next;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trim(text).empty()) found.insertAt = line.next;
    if (found.keyLine) continue;
    if (const auto kv = ParseKeyLine(content, line); kv && SameName(kv->key, key)) {
      found.keyLine = line;
      found.valueBegin = kv->valueBegin;
    }
  }
  return found;
}

std::string_view LineEnding(std::string_view content) {
  const std::size_t lf = content.find('\n');
  return lf != std::string_view::npos && lf > 0 && content[lf - 1] == '\r' ? "\r\n" : "\n";
}

// Ends `out` with a line end before more lines are added. A file whose last
// line ends in a lone CR has lost only the LF of its CR LF: the LF completes
// it, where the whole line end would leave "\r\r\n" and a value read back
// with a CR.
void EndLastLine(std::string& out, std::string_view eol) {
  if (out.empty() || out.back() == '\n') return;
  if (out.back() == '\r') {
    out.push_back('\n');
    return;
  }
  out.append(eol);
}

// Values are one line each: a line break inside a value would split it into
// a second key line, so breaks are stored as spaces. A value that is not
// UTF-8 is converted here, so the file itself always is.
std::string OneLine(std::string_view value) {
  std::string out = ToUtf8(value);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

}  // namespace

std::string IniTextFromBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    const std::size_t length = lf == std::string_view::npos ? bytes.size() : lf + 1;
    out.append(ToUtf8(bytes.substr(0, length)));
    bytes.remove_prefix(length);
  }
  return out;
}

std::optional<std::string> IniLookup(std::string_view content, std::string_view section, std::string_view key) {
  const Found found = Locate(content, section, key);
  if (!found.keyLine) return std::nullopt;
  const std::string_view value = content.substr(found.valueBegin, found.keyLine->end - found.valueBegin);
  return std::string(FirstCodePoints(value, kIniValueMaxChars));
}

std::string IniWithValue(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view value) {
  const std::string_view eol = LineEnding(content);
  const std::string line = OneLine(value);
  const Found found = Locate(content, section, key);
  std::string out;
  if (found.keyLine) {
    out.append(content.substr(0, found.valueBegin));
    out.append(line);
    out.append(content.substr(found.keyLine->end));
    return out;
  }
  const std::string newKey = UpperCase(key) + "=" + line;
  if (found.sectionFound) {
    out.append(content.substr(0, found.insertAt));
    // The section's last line may lack a line end (end of file).
    EndLastLine(out, eol);
    out.append(newKey).append(eol);
    out.append(content.substr(found.insertAt));
    return out;
  }
  out.append(content);
  EndLastLine(out, eol);
  out.append("[").append(section).append("]").append(eol);
  out.append(newKey).append(eol);
  return out;
}

}  // namespace wavecrest
