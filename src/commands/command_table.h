#pragma once

#include "core/dispatcher.h"

#include <span>

namespace wavecrest {

// The 44 chat commands in the order the dispatcher tries them.
std::span<const CommandEntry> CommandTable();

}  // namespace wavecrest
