#pragma once

// The network's rules for telling two names apart: which upper-case bytes
// have which lower-case ones (ISUPPORT CASEMAPPING). Every nick and channel
// comparison, the people list and the owner mask go through one of these.

#include <string>
#include <string_view>

namespace wavecrest::irc {

enum class CaseMapping {
  kAscii,          // A-Z only
  kRfc1459,        // and []\~ are the upper case of {}|^ … and ~ of ^ (the default)
  kStrictRfc1459,  // and []\ of {}|, but ^ and ~ differ
};

// The mapping an ISUPPORT value names; the default for a name not known.
CaseMapping CaseMappingNamed(std::string_view name);

// The text with every byte in its lower case under `mapping`.
std::string Fold(CaseMapping mapping, std::string_view text);
bool SameName(CaseMapping mapping, std::string_view a, std::string_view b);

// Glob (* any run, ? one byte) over "nick!user@host", bytes compared under
// `mapping`. Linear in practice and never exponential, whatever a hostile
// mask holds.
bool MaskMatches(CaseMapping mapping, std::string_view mask, std::string_view nickUserHost);

}  // namespace wavecrest::irc
