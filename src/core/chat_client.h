#pragma once

// The chat client as the system's logic sees it: one way to say a line in the
// room, and the client's version.
//
// Threading: UI thread only. ChatSend may let pending events run while it
// waits for the client (so a command can run inside it) and returns when the
// line has been handed over or dropped. Failures: none are reported; a line
// with nowhere to go is dropped silently.

#include <string>

namespace wavecrest {

class ChatClient {
 public:
  virtual ~ChatClient() = default;

  // Types one complete line (HTML included) into the chat room, unchanged.
  virtual void ChatSend(const std::string& line) = 0;

  // The running client's version text: "9.0" … "2.5", never empty.
  virtual std::string AolVersion() = 0;

  // The member is away for `reason` (empty: back again): the client shows it
  // to whoever looks, where it can.
  virtual void SetAway(const std::string& reason) = 0;
};

}  // namespace wavecrest
