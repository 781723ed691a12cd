#include "host/irc/server_rules.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace wavecrest::irc {

namespace {

constexpr std::size_t kMinLineLength = 256;
constexpr std::size_t kMaxLineLength = 65536;
constexpr std::size_t kMaxNickLength = 255;
constexpr std::size_t kMaxPrefixSymbols = 16;

std::optional<std::size_t> Number(std::string_view digits) {
  std::size_t value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// "(ov)@+": the symbols after the parenthesised modes.
std::optional<std::string> PrefixSymbols(std::string_view value) {
  if (value.empty()) return std::string();
  const std::size_t close = value.find(')');
  if (value.front() != '(' || close == std::string_view::npos) return std::nullopt;
  const std::string_view symbols = value.substr(close + 1);
  if (symbols.size() != close - 1 || symbols.size() > kMaxPrefixSymbols) return std::nullopt;
  return std::string(symbols);
}

}  // namespace

void ServerRules::Apply(const std::vector<std::string>& tokens) {
  const ServerRules defaults;
  for (const std::string& token : tokens) {
    const bool negated = !token.empty() && token.front() == '-';
    const std::string_view body = std::string_view(token).substr(negated ? 1 : 0);
    const std::size_t equals = std::min(body.find('='), body.size());
    const std::string_view name = body.substr(0, equals);
    const std::string_view value = body.substr(std::min(equals + 1, body.size()));
    if (name == "CASEMAPPING") {
      caseMapping = negated ? defaults.caseMapping : CaseMappingNamed(value);
    } else if (name == "LINELEN") {
      const auto n = Number(value);
      lineLength = negated || !n ? defaults.lineLength : std::clamp(*n, kMinLineLength, kMaxLineLength);
    } else if (name == "NICKLEN") {
      const auto n = Number(value);
      nickLength = negated || !n ? defaults.nickLength : std::min(*n, kMaxNickLength);
    } else if (name == "PREFIX") {
      const auto symbols = PrefixSymbols(value);
      prefixSymbols = negated || !symbols ? defaults.prefixSymbols : *symbols;
    } else if (name == "CHANTYPES") {
      channelTypes = negated ? defaults.channelTypes : std::string(value);
    } else if (name == "MONITOR") {
      monitor = !negated;
    } else if (name == "WHOX") {
      whox = !negated;
    }
  }
}

bool ServerRules::IsChannel(std::string_view target) const {
  return !target.empty() && channelTypes.find(target.front()) != std::string::npos;
}

std::string_view ServerRules::WithoutModePrefixes(std::string_view entry) const {
  // A server that says nothing of its prefixes still uses the usual ones.
  static constexpr std::string_view kUsual = "~&@%+";
  while (!entry.empty() && (prefixSymbols.find(entry.front()) != std::string::npos ||
                            kUsual.find(entry.front()) != std::string_view::npos)) {
    entry.remove_prefix(1);
  }
  return entry;
}

}  // namespace wavecrest::irc
