#pragma once

// What stands behind the chat client's room: nobody but the member (the
// local room, when the client has no network), or a channel of a chat
// network. The client that shows the room owns one and is its listener.
//
// Threading: UI thread only. The network's events reach the listener from
// the event loop (a socket's data arriving, a timer), never from inside a
// call the client makes into the network. Failures: none are reported to
// the caller; a line with nowhere to go is dropped, as a line said into a
// closed room is.

#include "core/chat_scanner.h"

#include <cstdint>
#include <string>
#include <vector>

namespace wavecrest {

// What kind of line someone said: an ordinary line, an action ("* nick
// waves"), a notice, or a message or notice to the member alone. Only
// ordinary lines of the room can be commands.
enum class RoomLineKind { kMessage, kAction, kNotice, kPrivateMessage, kPrivateNotice };

struct NetworkLine {
  Speaker speaker;     // who said it, as the network vouches; the name is the nick it was said under
  std::string text;    // the visible text, as the chat scanner reads it
  std::string styled;  // the same as chat HTML, for a window that shows styles
  RoomLineKind kind = RoomLineKind::kMessage;
};

class RoomNetworkListener {
 public:
  virtual ~RoomNetworkListener() = default;
  // Someone else said a line in the room.
  virtual void OnNetworkLine(const NetworkLine& line) = 0;
  // The people in the room now, the member included.
  virtual void OnNetworkPeople(const std::vector<std::string>& people) = 0;
  // The name the member is known by in the room changed (a taken name was
  // replaced, or the network renamed the member).
  virtual void OnNetworkNick(const std::string& nick) = 0;
  // The member entered the room (true) or is out of it (false: not yet
  // joined, kicked, or the connection is lost).
  virtual void OnNetworkJoined(bool joined) = 0;
};

class RoomNetwork {
 public:
  virtual ~RoomNetwork() = default;

  // The listener gets every event from now on; nullptr stops them. It must
  // outlive the network or be cleared first.
  virtual void SetListener(RoomNetworkListener* listener) = 0;

  // Says a line of the member's (chat HTML) in the room. Lines leave in the
  // order they were said, as fast as the network allows; the line has left
  // once LinesSent() reaches LinesQueued() as it was after this call. Out of
  // the room, the line is dropped.
  virtual void Say(const std::string& line) = 0;
  virtual std::uint64_t LinesQueued() const = 0;
  virtual std::uint64_t LinesSent() const = 0;

  // Whether the member is in the room now.
  virtual bool Joined() const = 0;

  // The member is away for `reason` (empty: back), for whoever asks.
  virtual void SetAway(const std::string& reason) = 0;
};

}  // namespace wavecrest
