#pragma once

#include "core/dispatcher.h"

#include <span>
#include <string>
#include <string_view>

namespace wavecrest {

// The 44 chat commands in the order the dispatcher tries them.
std::span<const CommandEntry> CommandTable();

// The same, and after them the two words a member on a network needs where
// nobody can click the matches window: `matches` and `pick x`.
std::span<const CommandEntry> NetworkCommandTable();

// The entry's command-list line with `trigger` in front (unless the word is
// never prefixed) and `extension` filled in.
std::string CommandListLine(const CommandEntry& entry, std::string_view trigger, std::string_view extension);

}  // namespace wavecrest
