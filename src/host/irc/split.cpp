// Splitting IRC text into lines that fit, the formatting carried over.
#include "host/irc/text.h"

#include "host/irc/formatting.h"

#include <algorithm>
#include <optional>

namespace wavecrest::irc {

namespace {

// The smallest limit that always holds one UTF-8 character and a few codes.
constexpr std::size_t kMinPieceBytes = 8;

// One code or one character at text[at], applied to `state`.
std::size_t AtomLength(std::string_view text, std::size_t at, FormatState& state) {
  const std::size_t code = ReadCode(text, at, state);
  return code > 0 ? code : Utf8Length(text, at);
}

// The formatting a later piece opens with. A lone colour right before a
// comma would read the comma as the start of a background: a double bold
// toggle (no effect) keeps them apart.
std::string CarriedCodes(const FormatState& state, std::string_view rest, std::size_t maxBytes) {
  std::string codes = OpeningCodes(state);
  const bool endsWithColour = !codes.empty() && state.toggles == 0;
  if (endsWithColour && !rest.empty() && rest.front() == ',') codes += "\x02\x02";
  if (codes.size() + 4 > maxBytes) return {};
  return codes;
}

struct Cut {
  std::size_t end;        // the piece is text[start, end)
  std::size_t next;       // where the next piece starts
  FormatState stateAtNext;
};

// Where the piece that starts at `start` with `budget` bytes ends: at the
// last space that fits, else after the last whole code or character that
// fits (at least one, so the split always moves on).
Cut FindCut(std::string_view text, std::size_t start, std::size_t budget, FormatState state) {
  std::optional<Cut> atSpace;
  Cut fit{start, start, state};
  for (std::size_t at = start; at < text.size();) {
    if (text[at] == ' ' && at > start) atSpace = Cut{at, at + 1, state};
    FormatState after = state;
    const std::size_t length = AtomLength(text, at, after);
    if (at + length - start > budget) {
      // A code longer than a whole piece (a tiny limit) is dropped, its
      // effect kept for the pieces after.
      if (at == start) return Cut{start, start + length, after};
      break;
    }
    state = after;
    at += length;
    fit = Cut{at, at, state};
  }
  return atSpace ? *atSpace : fit;
}

}  // namespace

std::vector<std::string> SplitIrcText(std::string_view ircText, std::size_t maxBytes) {
  maxBytes = std::max(maxBytes, kMinPieceBytes);
  std::vector<std::string> pieces;
  FormatState state;
  std::size_t start = 0;
  while (true) {
    const std::string_view rest = ircText.substr(start);
    if (rest.empty() && !pieces.empty()) return pieces;
    const std::string carried = pieces.empty() ? std::string() : CarriedCodes(state, rest, maxBytes);
    const std::size_t budget = maxBytes - carried.size();
    if (rest.size() <= budget) {
      pieces.push_back(carried + std::string(rest));
      return pieces;
    }
    const Cut cut = FindCut(ircText, start, budget, state);
    if (cut.end > start) pieces.push_back(carried + std::string(ircText.substr(start, cut.end - start)));
    start = cut.next;
    state = cut.stateAtNext;
  }
}

}  // namespace wavecrest::irc
