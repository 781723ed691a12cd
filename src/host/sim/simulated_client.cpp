#include "host/sim/simulated_client.h"

#include "host/discovery.h"

#include <algorithm>
#include <stdexcept>

namespace wavecrest::sim {
namespace {

// The rich-text control's empty paragraph, left in the 7.0 and 8.0 boxes.
constexpr const char* kEmptyParagraph = "\r\n";
// The transcript box keeps this much of the room's recent talk, like the
// real client's scroll-back; older lines fall off its top.
constexpr std::size_t kTranscriptBoxLimit = 64 * 1024;
// The room's own record keeps the last kTranscriptLines lines, as scroll-back
// does: a bot that runs for weeks must not hold every line it ever heard. It
// is trimmed in steps of a quarter, so a line said costs no more than a copy.
constexpr std::size_t kTranscriptTrimStep = kTranscriptLines / 4;
// Command identifiers of the menu bar start here (0 is a separator's).
constexpr MenuItemId kFirstMenuCommand = 100;

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x110000) {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void RemoveLastCharacter(std::string& text) {
  while (!text.empty()) {
    const bool continuation = (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80;
    text.pop_back();
    if (!continuation) return;
  }
}

// A text handed over as a zero-terminated string ends at its first NUL.
std::string UpToNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

}  // namespace

SimulatedClient::SimulatedClient(EventLoop& loop, std::string version, std::string memberName)
    : loop_(loop), version_(std::move(version)), member_(std::move(memberName)), nameInRoom_(member_) {
  if (!IsKnownClientVersion(version_)) throw std::invalid_argument("unknown client version: " + version_);
  people_.push_back(member_);
  BuildClient();
}

SimulatedClient::~SimulatedClient() = default;

void SimulatedClient::BuildClient() {
  frame_ = tree_.CreateWindow(kNoWindow, kClassFrame, "America  Online");
  BuildMenuBar();
  const WindowHandle toolbar = tree_.CreateWindow(frame_, "AOL Toolbar");
  for (const char* button : {"Read", "Write", "IM", "People", "Keyword"}) {
    tree_.CreateWindow(toolbar, kClassIcon, button);
  }
  mdi_ = tree_.CreateWindow(frame_, kClassMdi);
  // The welcome window stands first among the inner windows: it has a
  // rich-text news box, icons and texts, but no list box, so it is no room.
  const WindowHandle welcome = tree_.CreateWindow(mdi_, kClassChild, "Welcome, " + member_ + "!");
  tree_.CreateWindow(welcome, kClassStatic, "Welcome, " + member_ + "!");
  tree_.CreateWindow(welcome, kClassRichText, "Today's top news");
  for (const char* button : {"Mail", "People", "Channels"}) tree_.CreateWindow(welcome, kClassIcon, button);
  if (RoomStandsOpen()) BuildRoom();
}

void SimulatedClient::BuildMenuBar() {
  const MenuHandle bar = tree_.CreateMenu();
  MenuItemId nextId = kFirstMenuCommand;
  for (const MenuSpec& menuSpec : ClientMenuBar(version_)) {
    const MenuHandle dropDown = tree_.CreateMenu();
    FillMenu(dropDown, menuSpec.entries, nextId);
    tree_.AppendPopup(bar, menuSpec.title, dropDown);
  }
  tree_.SetMenu(frame_, bar);
}

// Entries get command identifiers in the order they are visited, drop-downs
// included, so every entry of the bar carries its own.
void SimulatedClient::FillMenu(MenuHandle menu, const std::vector<MenuEntrySpec>& entries, MenuItemId& nextId) {
  for (const MenuEntrySpec& entry : entries) {
    if (!entry.children.empty()) {
      const MenuHandle popup = tree_.CreateMenu();
      FillMenu(popup, entry.children, nextId);
      tree_.AppendPopup(menu, entry.text, popup);
    } else if (entry.text.empty()) {
      tree_.AppendSeparator(menu);
    } else {
      tree_.AppendItem(menu, entry.text, nextId++);
    }
  }
}

void SimulatedClient::BuildRoom() {
  // Children in the order the client creates them: the room's name, the
  // transcript, the head count, the people list, the entry box, the buttons.
  room_ = tree_.CreateWindow(mdi_, kClassChild, "Lobby");
  tree_.CreateWindow(room_, kClassStatic, "Lobby");
  const bool readOnlyTranscript = UsesReadOnlyTranscript(version_);
  transcriptBox_ = tree_.CreateWindow(room_, readOnlyTranscript ? kClassRichTextReadOnly : kClassRichText);
  peopleCount_ = tree_.CreateWindow(room_, kClassStatic);
  tree_.CreateWindow(room_, kClassListBox);
  entryBox_ = tree_.CreateWindow(room_, kClassRichText);
  for (const char* button : {"Send", "Font", "Bold", "Italic", "Underline"}) {
    tree_.CreateWindow(room_, kClassIcon, button);
  }
  ShowPeopleCount();
  if (version_ == "9.0") {
    SetEntryBox(kChatInputPrompt, EntryText::kClientFiller);
  } else {
    SetEntryBox("", EntryText::kTyped);
  }
}

void SimulatedClient::CloseRoom() {
  roomWanted_ = false;
  DestroyRoom();
}

void SimulatedClient::DestroyRoom() {
  tree_.DestroyWindow(room_);
  room_ = transcriptBox_ = peopleCount_ = entryBox_ = kNoWindow;
  TellRoomChanged();
}

void SimulatedClient::OpenRoom() {
  roomWanted_ = true;
  if (Running() && !RoomOpen() && RoomStandsOpen()) BuildRoom();
}

void SimulatedClient::SetNetwork(RoomNetwork* network) {
  if (network_ != nullptr) network_->SetListener(nullptr);
  network_ = network;
  if (network_ != nullptr) network_->SetListener(this);
  OnNetworkJoined(network_ == nullptr || network_->Joined());
}

void SimulatedClient::SetRunning(bool running) {
  if (running == Running()) return;
  if (running) {
    BuildClient();
    return;
  }
  tree_.DestroyWindow(frame_);
  frame_ = mdi_ = room_ = transcriptBox_ = peopleCount_ = entryBox_ = kNoWindow;
  TellRoomChanged();
}

void SimulatedClient::SetOnLineSaid(std::function<void(const RoomLine&)> onLineSaid) {
  onLineSaid_ = std::move(onLineSaid);
}

void SimulatedClient::MemberTypes(const std::string& text) {
  if (RoomOpen()) SetEntryBox(UpToNul(text), EntryText::kTyped);
}

void SimulatedClient::MemberPressesEnter() {
  if (RoomOpen()) PressEnter();
}

void SimulatedClient::MemberSays(const std::string& text) {
  MemberTypes(text);
  MemberPressesEnter();
}

void SimulatedClient::OtherSays(const std::string& speaker, const std::string& text) {
  if (RoomOpen()) Say(RoomLine{speaker, text}, Speaker{speaker});
}

std::string SimulatedClient::EntryBoxText() const { return tree_.Text(entryBox_); }

void SimulatedClient::SetEntryBox(std::string text, EntryText origin) {
  tree_.SetText(entryBox_, std::move(text));
  entryOrigin_ = origin;
  TellRoomChanged();
}

void SimulatedClient::PressEnter() {
  if (behaviour_ == BoxBehaviour::kIgnoresEnter) return;
  const std::string line = entryOrigin_ == EntryText::kClientFiller ? std::string() : tree_.Text(entryBox_);
  // The client takes the line out of its box before the room echoes it.
  if (behaviour_ == BoxBehaviour::kEmptiesOnEnter || !UsesReadOnlyTranscript(version_)) {
    SetEntryBox("", EntryText::kTyped);
  } else if (version_ == "9.0") {
    SetEntryBox(kChatInputPrompt, EntryText::kClientFiller);
  } else {
    SetEntryBox(kEmptyParagraph, EntryText::kClientFiller);
  }
  if (IsBlank(line)) return;
  if (network_ != nullptr) network_->Say(line);
  Say(RoomLine{nameInRoom_, line}, Speaker{member_, std::nullopt, LineSource::kTypedHere});
}

void SimulatedClient::TypeInEntryBox(std::uint32_t charCode) {
  if (charCode == kCharEnter) {
    PressEnter();
    return;
  }
  // The client's filler is not the member's text: the first key replaces it.
  std::string text = entryOrigin_ == EntryText::kClientFiller ? std::string() : tree_.Text(entryBox_);
  if (charCode == kCharBackspace) {
    RemoveLastCharacter(text);
  } else if (charCode >= 0x20) {
    AppendUtf8(text, charCode);
  } else {
    return;  // other control characters do nothing in the box
  }
  SetEntryBox(std::move(text), EntryText::kTyped);
}

// A line said in the room: shown, and reported to the scanner as said by
// `reported`.
void SimulatedClient::Say(const RoomLine& line, const Speaker& reported) {
  Show(line);
  if (network_ == nullptr) AddPerson(line.speaker);  // a channel's people come from the network
  if (!*lineHandler_) return;  // the scanner reports nothing before it starts
  loop_.Post([weak = std::weak_ptr<LineHandler>(lineHandler_), speaker = reported, text = line.text] {
    const auto handler = weak.lock();
    if (!handler || !*handler) return;
    const LineHandler onLine = *handler;  // a handler may restart the scanner
    onLine(speaker, text);
  });
}

// A line in the transcript and the room's boxes, and to whoever watches.
void SimulatedClient::Show(const RoomLine& line) {
  transcript_.push_back(line);
  if (transcript_.size() > kTranscriptLines + kTranscriptTrimStep) {
    transcript_.erase(transcript_.begin(), transcript_.end() - kTranscriptLines);
  }
  ShowInTranscriptBox(line);
  if (onLineSaid_) {
    const auto onLineSaid = onLineSaid_;  // it may replace itself
    onLineSaid(line);
  }
}

void SimulatedClient::OnNetworkLine(const NetworkLine& line) {
  if (!RoomOpen()) return;
  const RoomLine shown{line.speaker.name, line.text, line.kind, line.styled};
  if (line.kind != RoomLineKind::kMessage) return Show(shown);
  if (line.speaker.source == LineSource::kRoom) return Say(shown, line.speaker);
  // The member, typing elsewhere: shown as the member's lines are, and
  // reported under the member's screen name.
  Speaker member = line.speaker;
  member.name = member_;
  Say(RoomLine{nameInRoom_, line.text, line.kind, line.styled}, member);
}

void SimulatedClient::OnNetworkPeople(const std::vector<std::string>& people) {
  people_ = people;
  ShowPeopleCount();
}

void SimulatedClient::OnNetworkNick(const std::string& nick) { nameInRoom_ = nick; }

// The room stands open while the member is in the channel: lines said out of
// it go nowhere, as lines said into a closed room do.
void SimulatedClient::OnNetworkJoined(bool joined) {
  inChannel_ = joined;
  if (!joined) return DestroyRoom();
  if (Running() && !RoomOpen() && RoomStandsOpen()) BuildRoom();
}

void SimulatedClient::AddPerson(const std::string& name) {
  if (std::find(people_.begin(), people_.end(), name) != people_.end()) return;
  people_.push_back(name);
  ShowPeopleCount();
}

void SimulatedClient::ShowPeopleCount() {
  tree_.SetText(peopleCount_, std::to_string(people_.size()) + " people here");
  TellRoomChanged();
}

void SimulatedClient::TellRoomChanged() const {
  if (!onRoomChanged_) return;
  const auto onRoomChanged = onRoomChanged_;  // it may replace itself
  onRoomChanged();
}

void SimulatedClient::ShowInTranscriptBox(const RoomLine& line) {
  std::string text = tree_.Text(transcriptBox_);
  text += line.speaker + ":\t" + line.text + "\r\n";
  if (text.size() > kTranscriptBoxLimit) {
    const std::size_t cut = text.find("\r\n", text.size() - kTranscriptBoxLimit);
    text.erase(0, cut == std::string::npos ? text.size() : cut + 2);
  }
  tree_.SetText(transcriptBox_, std::move(text));
}

void SimulatedClient::Start(LineHandler onLine) { *lineHandler_ = std::move(onLine); }

// --- HostWindows -------------------------------------------------------------

WindowHandle SimulatedClient::FindWindowA(std::string_view className) { return tree_.FindWindow(className); }

WindowHandle SimulatedClient::FindWindowExA(WindowHandle parent, WindowHandle after, std::string_view className) {
  return tree_.FindWindowEx(parent, after, className);
}

MenuHandle SimulatedClient::GetMenu(WindowHandle window) { return tree_.Menu(window); }

int SimulatedClient::GetMenuItemCount(MenuHandle menu) { return tree_.MenuItemCount(menu); }

MenuHandle SimulatedClient::GetSubMenu(MenuHandle menu, int position) { return tree_.SubMenu(menu, position); }

MenuItemId SimulatedClient::GetMenuItemID(MenuHandle menu, int position) { return tree_.MenuItemID(menu, position); }

std::optional<std::string> SimulatedClient::GetMenuStringA(MenuHandle menu, MenuItemId item, std::size_t bufferSize,
                                                           std::uint32_t flags) {
  return tree_.MenuString(menu, item, bufferSize, flags);
}

bool SimulatedClient::SendSetText(WindowHandle window, std::string_view text) {
  if (window == entryBox_ && window != kNoWindow) {
    SetEntryBox(UpToNul(text), EntryText::kTyped);
    return true;
  }
  return tree_.SetText(window, UpToNul(text));
}

std::size_t SimulatedClient::SendGetTextLength(WindowHandle window) { return tree_.Text(window).size(); }

std::string SimulatedClient::SendGetText(WindowHandle window, std::size_t bufferSize) {
  return WindowTree::CutToBuffer(tree_.Text(window), bufferSize);
}

void SimulatedClient::SendChar(WindowHandle window, std::uint32_t charCode) {
  if (window != kNoWindow && window == entryBox_) TypeInEntryBox(charCode);
}

}  // namespace wavecrest::sim
