#include "host/chat_send.h"

#include "core/diagnostics.h"
#include "core/pause.h"
#include "core/text.h"
#include "host/client_version.h"
#include "host/discovery.h"

namespace wavecrest {
namespace {

WindowHandle FindEntryBox(HostWindows& host, RoomLayout layout) {
  return layout == RoomLayout::Before7 ? FindChatInput(host) : FindChatInput7(host);
}

// Whether the box, read back after an Enter, shows that the client took the
// line: the older clients empty their box, the newer ones leave it holding
// something. The box is searched afresh for the read.
bool LineTaken(HostWindows& host, RoomLayout layout) {
  const bool empty = GetControlText(host, FindEntryBox(host, layout)).empty();
  return layout == RoomLayout::Before7 ? empty : !empty;
}

// Types Enter until the client takes the line, letting events run between
// two Enters, and gives up at the bound.
void TypeEnterUntilTaken(HostWindows& host, EventLoop& loop, WindowHandle box, RoomLayout layout) {
  const double start = loop.SecondsSinceMidnight();
  for (int enters = 1;; ++enters) {
    host.SendChar(box, kCharEnter);
    if (LineTaken(host, layout)) return;
    if (enters >= kMaxEnters || loop.WaitsEnded()) return;
    if (ElapsedSeconds(start, loop.SecondsSinceMidnight()) >= kMaxEnterSeconds) return;
    loop.PumpOnce(kEnterPumpWait);
  }
}

void TypeLine(HostWindows& host, EventLoop& loop, const std::string& text, RoomLayout layout) {
  if (text.empty()) return;
  const WindowHandle room = FindChatRoom(host);
  const WindowHandle box = FindEntryBox(host, layout);
  if (room == kNoWindow || box == kNoWindow) {
    Diagnose(room == kNoWindow ? "no chat room is open: a line was not said" : "the chat room has no entry box: a line was not said");
    return;
  }

  std::string saved = GetControlText(host, FindEntryBox(host, layout));
  if (!saved.empty()) host.SendSetText(box, "");
  host.SendSetText(box, text);
  TypeEnterUntilTaken(host, loop, box, layout);

  // The 9.0 client shows a "Chat Input" prompt in its idle box; it is the
  // client's, not the member's, and must not be put back as typed text.
  if (layout == RoomLayout::From7 && AolVersion(host) == kNewestClientVersion) saved = ReplaceAll(saved, "Chat Input", "");
  host.SendSetText(box, saved);
}

}  // namespace

void TypeChatLine(HostWindows& host, EventLoop& loop, const std::string& text) {
  TypeLine(host, loop, text, RoomLayout::Before7);
}

void TypeChatLine7(HostWindows& host, EventLoop& loop, const std::string& text) {
  TypeLine(host, loop, text, RoomLayout::From7);
}

void ChatSend(HostWindows& host, EventLoop& loop, const std::string& text) {
  if (RoomLayoutOf(AolVersion(host)) == RoomLayout::From7) {
    TypeChatLine7(host, loop, text);
  } else {
    TypeChatLine(host, loop, text);
  }
}

namespace {

// Lets events run until everything said so far has left the network, the
// member is out of the room (the rest is dropped), or the bound has passed.
void WaitForTurn(const RoomNetwork& network, EventLoop& loop) {
  const std::uint64_t said = network.LinesQueued();
  const double start = loop.SecondsSinceMidnight();
  while (network.LinesSent() < said && network.Joined() && !loop.WaitsEnded()) {
    if (ElapsedSeconds(start, loop.SecondsSinceMidnight()) >= kMaxTurnSeconds) return;
    loop.PumpOnce(kTurnPumpWait);
  }
}

}  // namespace

void HostChatClient::ChatSend(const std::string& line) { wavecrest::ChatSend(host_, loop_, line); }

void HostChatClient::AwaitTurn() {
  if (network_ != nullptr) WaitForTurn(*network_, loop_);
}

std::string HostChatClient::AolVersion() { return wavecrest::AolVersion(host_); }

// The simulated client keeps no away message of its own; a network shows it.
void HostChatClient::SetAway(const std::string& reason) {
  if (network_ != nullptr) network_->SetAway(reason);
}

}  // namespace wavecrest
