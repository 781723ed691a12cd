#pragma once

// The chat-scanning control: reports every line said in the chat room, the
// member's own lines and the system's own replies included, each with who
// said it as far as the room can vouch.
//
// Threading: line events arrive on the UI thread, posted to the event loop,
// never from inside a call the system is making. Lifecycle: nothing is
// reported before Start; Start is called once.

#include <functional>
#include <optional>
#include <string>

namespace wavecrest {

// Where a line came from.
enum class LineSource {
  kRoom,              // someone in the room, on a connection of their own
  kTypedHere,         // typed into this client's room: the member at the keyboard, or the system's replies
  kMembersOtherClient,  // the member's own identity on another client, as the network vouches (a bouncer shares it)
};

// The owner mask the member gave, against the speaker's address.
enum class MaskCheck {
  kNoMask,   // none given, or the room has no addresses
  kPassed,
  kFailed,   // it does not match, or the address cannot be believed
};

// Who said a line: decided once, where the room can vouch for it.
struct Speaker {
  std::string name;  // the screen name (a nick on a network); for the member's lines, the member's screen name
  std::optional<std::string> account = std::nullopt;  // the services account the network vouches for; none when not known
  LineSource source = LineSource::kRoom;
  MaskCheck mask = MaskCheck::kNoMask;
  bool operator==(const Speaker&) const = default;
};

class ChatScanner {
 public:
  using LineHandler = std::function<void(const Speaker& speaker, const std::string& text)>;
  virtual ~ChatScanner() = default;

  // Begins reporting lines to `onLine`.
  virtual void Start(LineHandler onLine) = 0;
};

}  // namespace wavecrest
