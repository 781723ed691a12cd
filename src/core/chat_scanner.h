#pragma once

// The chat-scanning control: reports every line said in the chat room, the
// member's own lines and the system's own replies included.
//
// Threading: line events arrive on the UI thread, posted to the event loop,
// never from inside a call the system is making. Lifecycle: nothing is
// reported before Start; Start is called once.

#include <functional>
#include <string>

namespace wavecrest {

class ChatScanner {
 public:
  using LineHandler = std::function<void(const std::string& speaker, const std::string& text)>;
  virtual ~ChatScanner() = default;

  // Begins reporting lines to `onLine`.
  virtual void Start(LineHandler onLine) = 0;
};

}  // namespace wavecrest
