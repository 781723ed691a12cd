#pragma once

// The chat client as the system's logic sees it: one way to say a line in the
// room, and the client's version.
//
// Threading: UI thread only. ChatSend and AwaitTurn may let pending events
// run while they wait (so a timer tick, or with ChatSend a command, can run
// inside them). Failures: none are reported; a line with nowhere to go is
// dropped silently.

#include <string>

namespace wavecrest {

class ChatClient {
 public:
  virtual ~ChatClient() = default;

  // Types one complete line (HTML included) into the chat room, unchanged.
  // Returns when the line has been handed over or dropped.
  virtual void ChatSend(const std::string& line) = 0;

  // Where the room is on a network that paces what it says: lets events run
  // until the lines said so far have left (or the program ends, or a bound
  // passes). Elsewhere it returns at once.
  virtual void AwaitTurn() {}

  // The running client's version text: "9.0" … "2.5", never empty.
  virtual std::string AolVersion() = 0;

  // The member is away for `reason` (empty: back again): the client shows it
  // to whoever looks, where it can.
  virtual void SetAway(const std::string& reason) = 0;
};

}  // namespace wavecrest
