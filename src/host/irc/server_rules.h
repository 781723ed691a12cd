#pragma once

// What a server says of itself in RPL_ISUPPORT (005) that the session uses:
// how it compares names, how long a line and a nick may be, which prefixes
// stand for channel modes, which characters begin a channel name, and
// whether it offers MONITOR and WHOX. Until the server says otherwise, the
// values are those of a server that says nothing.

#include "host/irc/case_mapping.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::irc {

struct ServerRules {
  CaseMapping caseMapping = CaseMapping::kRfc1459;
  std::size_t lineLength = 512;  // bytes, CR LF included
  std::size_t nickLength = 0;    // 0: not said
  std::string prefixSymbols = "@+";  // the nick prefixes of NAMES, highest first
  std::string channelTypes = "#&";
  bool monitor = false;
  bool whox = false;

  // Takes in the tokens of one 005 line (the parameters between the nick and
  // the trailing text); "-TOKEN" puts a value back to its default. Values
  // out of reason are clamped (a line length) or ignored.
  void Apply(const std::vector<std::string>& tokens);

  bool IsChannel(std::string_view target) const;
  // The nick without the mode prefixes NAMES puts in front of it.
  std::string_view WithoutModePrefixes(std::string_view entry) const;
};

}  // namespace wavecrest::irc
