#pragma once

// What became of a line a command handler was given: answered in the room,
// or refused, with nothing said, for a reason the person running the program
// can read (--verbose). A handler that acts without a word (silent mode) has
// refused the answer too: the room heard nothing.

#include <string>
#include <utility>

namespace wavecrest {

struct CommandResult {
  bool answered = true;
  std::string reason;  // why nothing was said; empty when answered
};

inline CommandResult Answered() { return {}; }
inline CommandResult Refused(std::string reason) { return {false, std::move(reason)}; }

}  // namespace wavecrest
