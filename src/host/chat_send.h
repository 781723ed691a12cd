#pragma once

// Typing lines into the chat room, as the member would: the line is set into
// the room's entry box, Enter is typed, and whatever the member had
// half-typed there is put back.
//
// Threading: UI thread only. While waiting for the client to take the line,
// ChatSend lets pending events run, so a timer tick or a chat command (and
// with it another ChatSend on the same box) may run inside it. When the
// first Enter already shows the line gone, no events run.

#include "core/chat_client.h"
#include "core/event_loop.h"
#include "host/host_windows.h"
#include "host/room_network.h"

#include <chrono>
#include <string>

namespace wavecrest {

// How long the system keeps typing Enter for a line the client has not yet
// taken. A client that never shows the line gone (a hung client, a misread
// layout) would otherwise hold the system in this loop for ever. Between two
// Enters the loop waits for events at most kEnterPumpWait, so it never
// spins; after kMaxEnters Enters, or kMaxEnterSeconds since the first one,
// the line is given up and the member's own text is put back.
inline constexpr int kMaxEnters = 50;
inline constexpr double kMaxEnterSeconds = 2.0;
inline constexpr std::chrono::milliseconds kEnterPumpWait{20};

// Types one complete line (HTML included, unchanged) into the open chat
// room, choosing the entry-box layout by the client's version (asked afresh
// on each call). An empty line, or no client, room or entry box, drops the
// line silently. Returns when the line has been handed over or given up.
void ChatSend(HostWindows& host, EventLoop& loop, const std::string& text);

// The two layouts' typing routines that ChatSend chooses between: clients
// before 7.0 (the entry box empties when the line goes) and 7.0–9.0 (the
// entry box reads back non-empty when the line goes).
void TypeChatLine(HostWindows& host, EventLoop& loop, const std::string& text);
void TypeChatLine7(HostWindows& host, EventLoop& loop, const std::string& text);

// How long a line may wait for its turn on a network that paces what it
// says before AwaitTurn returns anyway (the line still leaves, in order).
inline constexpr double kMaxTurnSeconds = 30.0;
inline constexpr std::chrono::milliseconds kTurnPumpWait{250};

// The chat client port on the host's window tree. Holds references only:
// `host` and `loop` (and the network, when given) must outlive it.
class HostChatClient final : public ChatClient {
 public:
  HostChatClient(HostWindows& host, EventLoop& loop) : host_(host), loop_(loop) {}

  // A room on a network that paces its lines: AwaitTurn then lets events
  // run until the lines said so far have left, so a burst of replies leaves
  // in order and what waits stays as small as the commands running.
  void SetNetwork(RoomNetwork* network) { network_ = network; }

  void ChatSend(const std::string& line) override;
  void AwaitTurn() override;
  std::string AolVersion() override;
  void SetAway(const std::string& reason) override;

 private:
  HostWindows& host_;
  EventLoop& loop_;
  RoomNetwork* network_ = nullptr;
};

}  // namespace wavecrest
