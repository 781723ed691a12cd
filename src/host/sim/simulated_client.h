#pragma once

// The simulated chat client: a stand-in for the outside chat program on a
// platform where it does not exist. It is a real adapter, used by the console
// front-end and the windowed one, not a test fake.
//
// It holds the client's window tree (frame "AOL Frame25" → "MDIClient" → a
// welcome window and the chat room "AOL Child" with its rich-text boxes, list
// box, icons and static texts), the menu bar of the chosen client version,
// and a chat room with its transcript and people. It implements HostWindows
// (the system works it exactly as it would work the real client) and
// ChatScanner (it reports every line said in its room).
//
// The entry box on Enter (WM_CHAR 13), per version:
//   2.5 – 6.0  the line is said and the box is left empty.
//   7.0, 8.0   the line is said and the box is left holding the empty
//              paragraph "\r\n" of its rich-text control.
//   9.0        the line is said and the box shows its prompt "Chat Input".
//              A new room's box shows the prompt too.
// So one Enter shows a sent line gone in each layout. A box that is empty,
// blank (spaces and line breaks only) or showing the client's own filler says
// nothing on Enter. Any other character typed is added to the box.
//
// Events: every line said in the room — the member's (and so the system's
// replies), other people's — reaches the ChatScanner handler posted to the
// event loop, never from inside a HostWindows call, and only once Start has
// been called. The scanner reports the line raw, HTML included.
//
// The room's network: without one the room is local (the member and whoever
// the front-end lets speak). With one (SetNetwork), the room is a channel of
// that network: it stands open only while the member is in the channel, a
// line said on Enter goes to the channel (and shows in the room at once, as
// the client's own echo), the channel's lines are the room's, its people the
// room's people, and the name the member's lines show under follows the
// network's name for them (the member's screen name stays what it is).
// Actions, notices and private lines are shown but never reported to the
// scanner. Every report carries who said the line (Speaker): the member's
// own lines under the member's screen name, as typed here or, when the
// network vouches, on another client of the member's.
//
// Lifetime and threading: UI thread only; the loop must outlive the client.
// Posted reports still queued when the client is destroyed are dropped.

#include "core/chat_scanner.h"
#include "core/event_loop.h"
#include "host/host_windows.h"
#include "host/room_network.h"
#include "host/sim/client_menus.h"
#include "host/sim/window_tree.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wavecrest::sim {

struct RoomLine {
  RoomLine() = default;
  RoomLine(std::string who, std::string what, RoomLineKind lineKind = RoomLineKind::kMessage, std::string html = {})
      : speaker(std::move(who)), text(std::move(what)), kind(lineKind), styled(std::move(html)) {}

  std::string speaker;
  std::string text;
  RoomLineKind kind = RoomLineKind::kMessage;
  std::string styled;  // chat HTML to show for a network line's text; empty: the text is HTML already
  bool operator==(const RoomLine&) const = default;
};

// How the entry box answers Enter; anything but kAsClient is for exercising
// the system against a client that misbehaves.
enum class BoxBehaviour {
  kAsClient,        // as the version's client does (see above)
  kEmptiesOnEnter,  // says the line and leaves the box empty, whatever the version
  kIgnoresEnter,    // a hung client: nothing is said and the box keeps its text
};

inline constexpr const char* kChatInputPrompt = "Chat Input";
// How many of the room's last lines Transcript() keeps at least.
inline constexpr std::size_t kTranscriptLines = 4000;

class SimulatedClient final : public HostWindows, public ChatScanner, private RoomNetworkListener {
 public:
  // `version`: one of KnownClientVersions() ("9.0" … "2.5"); anything else
  // throws std::invalid_argument. The client starts running, with the
  // member logged in as `memberName` and sitting in an open chat room.
  SimulatedClient(EventLoop& loop, std::string version, std::string memberName);
  ~SimulatedClient() override;
  SimulatedClient(const SimulatedClient&) = delete;
  SimulatedClient& operator=(const SimulatedClient&) = delete;

  const std::string& Version() const { return version_; }
  // The screen name the member is logged in under.
  const std::string& MemberName() const { return member_; }
  // The name the member's lines show under in the room (on a network, the
  // nick it gave).
  const std::string& NameInRoom() const { return nameInRoom_; }

  // The person at the keyboard. Without an open room these do nothing.
  void MemberTypes(const std::string& text);  // sets the entry box text (half-typed)
  void MemberPressesEnter();                  // Enter in the entry box
  void MemberSays(const std::string& text);   // MemberTypes, then MemberPressesEnter
  // Another person says a line in the room (and joins its people).
  void OtherSays(const std::string& speaker, const std::string& text);

  // The entry box's text now; empty without an open room.
  std::string EntryBoxText() const;
  // The room's recent lines, oldest first: at least the last kTranscriptLines
  // (all of them while there are fewer), never more than a quarter beyond.
  const std::vector<RoomLine>& Transcript() const { return transcript_; }
  void ClearTranscript() { transcript_.clear(); }
  // The member, then everyone who has spoken, in order of their first line.
  std::vector<std::string> People() const { return people_; }

  // Called with every line as it is said (synchronously, for output); it
  // must not call into the system.
  void SetOnLineSaid(std::function<void(const RoomLine&)> onLineSaid);
  // Called whenever the entry box's text or the room's people may have
  // changed (synchronously; it must not call into the system), so that a
  // window showing them need not look again and again.
  void SetOnRoomChanged(std::function<void()> onRoomChanged) { onRoomChanged_ = std::move(onRoomChanged); }

  // The client's situation: a closed room leaves the frame with its welcome
  // window; a client not running has no windows at all.
  void CloseRoom();
  void OpenRoom();
  bool RoomOpen() const { return room_ != kNoWindow; }
  void SetRunning(bool running);
  bool Running() const { return frame_ != kNoWindow; }
  void SetBoxBehaviour(BoxBehaviour behaviour) { behaviour_ = behaviour; }

  // Puts the room on `network` (nullptr: the local room again). The network
  // must outlive the client or be taken away first.
  void SetNetwork(RoomNetwork* network);
  RoomNetwork* Network() const { return network_; }

  // HostWindows
  WindowHandle FindWindowA(std::string_view className) override;
  WindowHandle FindWindowExA(WindowHandle parent, WindowHandle after, std::string_view className) override;
  MenuHandle GetMenu(WindowHandle window) override;
  int GetMenuItemCount(MenuHandle menu) override;
  MenuHandle GetSubMenu(MenuHandle menu, int position) override;
  MenuItemId GetMenuItemID(MenuHandle menu, int position) override;
  std::optional<std::string> GetMenuStringA(MenuHandle menu, MenuItemId item, std::size_t bufferSize,
                                            std::uint32_t flags) override;
  bool SendSetText(WindowHandle window, std::string_view text) override;
  std::size_t SendGetTextLength(WindowHandle window) override;
  std::string SendGetText(WindowHandle window, std::size_t bufferSize) override;
  void SendChar(WindowHandle window, std::uint32_t charCode) override;

  // ChatScanner
  void Start(LineHandler onLine) override;

 private:
  // Who put the entry box's text there: the member typing, or the client
  // itself (its prompt or empty paragraph), which Enter does not say.
  enum class EntryText { kTyped, kClientFiller };

  void BuildClient();
  void BuildMenuBar();
  void FillMenu(MenuHandle menu, const std::vector<MenuEntrySpec>& entries, MenuItemId& nextId);
  void BuildRoom();
  void DestroyRoom();
  void SetEntryBox(std::string text, EntryText origin);
  void TypeInEntryBox(std::uint32_t charCode);
  void PressEnter();
  void Say(const RoomLine& line, const Speaker& reported);
  void Show(const RoomLine& line);
  bool RoomStandsOpen() const { return roomWanted_ && inChannel_; }

  // RoomNetworkListener
  void OnNetworkLine(const NetworkLine& line) override;
  void OnNetworkPeople(const std::vector<std::string>& people) override;
  void OnNetworkNick(const std::string& nick) override;
  void OnNetworkJoined(bool joined) override;
  void AddPerson(const std::string& name);
  void ShowPeopleCount();
  void ShowInTranscriptBox(const RoomLine& line);
  void TellRoomChanged() const;

  EventLoop& loop_;
  std::string version_;
  std::string member_;
  std::string nameInRoom_;
  WindowTree tree_;
  BoxBehaviour behaviour_ = BoxBehaviour::kAsClient;
  // Whether the room stands open once the client runs: a room closed before
  // the client stops stays closed when it starts again.
  bool roomWanted_ = true;
  RoomNetwork* network_ = nullptr;
  // Without a network the member is always in the room.
  bool inChannel_ = true;

  WindowHandle frame_ = kNoWindow;
  WindowHandle mdi_ = kNoWindow;
  WindowHandle room_ = kNoWindow;
  WindowHandle transcriptBox_ = kNoWindow;
  WindowHandle peopleCount_ = kNoWindow;
  WindowHandle entryBox_ = kNoWindow;
  EntryText entryOrigin_ = EntryText::kTyped;

  std::vector<RoomLine> transcript_;
  std::vector<std::string> people_;
  std::function<void(const RoomLine&)> onLineSaid_;
  std::function<void()> onRoomChanged_;
  // The ChatScanner handler given to Start. Shared with the reports posted to
  // the loop, so that a report outliving the client finds the handler gone
  // instead of a dangling client.
  std::shared_ptr<LineHandler> lineHandler_ = std::make_shared<LineHandler>();
};

}  // namespace wavecrest::sim
