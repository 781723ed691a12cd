#pragma once

// Lets a test read like a conversation: the member says X, then the room
// holds exactly these lines.

#include "commands/wiring.h"
#include "core/dispatcher.h"
#include "support/fakes.h"

#include <string>
#include <vector>

namespace wavecrest::testing {

// The reply body inside one composed line: from the ">" that closes the
// body's font tag to the end decoration's font tag.
std::string BodyOf(const std::string& line);

// A Bot on fakes with the real command table and timer handlers bound, the
// member's screen name set and the start-up look in place.
class Scenario {
 public:
  // The room the commands are for (the local room's table, or a network's);
  // with StreamCommands::With the run streams: the Bot has the fake stream
  // and `listen` among its commands.
  explicit Scenario(RoomKind room = RoomKind::kLocal, StreamCommands stream = StreamCommands::Without);
  TestBot t;
  Bot& bot() { return t.bot; }

  // The member says `text` in the room; events run until nothing is pending.
  void MemberSays(const std::string& text);
  // Someone else says it.
  void OtherSays(const std::string& speaker, const std::string& text);
  // Lets virtual time pass with events running.
  void Wait(double seconds) { t.loop.RunFor(seconds); }

  // Bodies of the lines said so far; TakeBodies also forgets them.
  std::vector<std::string> Bodies() const;
  std::vector<std::string> TakeBodies();
};

}  // namespace wavecrest::testing
