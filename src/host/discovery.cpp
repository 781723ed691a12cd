#include "host/discovery.h"

#include "core/text.h"
#include "host/client_version.h"

#include <array>
#include <string_view>

namespace wavecrest {
namespace {

// GetMenuStringA is handed a buffer of this many characters: entry texts
// longer than 99 characters are read cut.
constexpr std::size_t kMenuTextBuffer = 100;
// Flag 1 carries no by-position bit: the entry is addressed by its command
// identifier.
constexpr std::uint32_t kMenuStringFlags = 1;

struct VersionPattern {
  std::string_view pattern;
  std::string_view version;
};

// Tried in this order on each menu entry; the first hit ends the scan.
constexpr std::array<VersionPattern, 8> kVersionPatterns{{
    {"AOL 9.0 Optimized Features", "9.0"},
    {"What's New in AOL 8.0", "8.0"},
    {"What's New in AOL 7.0", "7.0"},
    {"What's New in AOL 6.0", "6.0"},
    {"What's New in AOL 5.0", "5.0"},
    {"What's New in AOL 4.0", "4.0"},
    {"Send an Instant Message", "3.0"},
    {"LOGGING...", "2.5"},
}};

constexpr std::string_view kUnrecognisedVersion = kNewestClientVersion;

// Without a frame there is no client: searching from window 0 would look
// among the desktop's top-level windows, which hold no part of the client.
WindowHandle FindMdiClient(HostWindows& host) {
  const WindowHandle frame = host.FindWindowA(kClassFrame);
  if (frame == kNoWindow) return kNoWindow;
  return host.FindWindowExA(frame, kNoWindow, kClassMdi);
}

bool IsChatRoom(HostWindows& host, WindowHandle child) {
  for (const char* className : {kClassRichText, kClassListBox, kClassIcon, kClassStatic}) {
    if (host.FindWindowExA(child, kNoWindow, className) == kNoWindow) return false;
  }
  return true;
}

// A menu that cannot be counted (gone, or no menu at all) is read as empty.
int MenuEntryCount(HostWindows& host, MenuHandle menu) {
  const int count = host.GetMenuItemCount(menu);
  return count < 0 ? 0 : count;
}

// The version an entry's text names, or empty when it names none. The
// patterns are lower-cased once: the scan reads every entry of every menu on
// each line sent.
std::string_view VersionNamedBy(std::string_view entryText) {
  static const std::array<std::string, kVersionPatterns.size()> loweredPatterns = [] {
    std::array<std::string, kVersionPatterns.size()> lowered;
    for (std::size_t i = 0; i < kVersionPatterns.size(); ++i) lowered[i] = LowerCase(kVersionPatterns[i].pattern);
    return lowered;
  }();
  const std::string lowered = LowerCase(entryText);
  for (std::size_t i = 0; i < kVersionPatterns.size(); ++i) {
    if (lowered.find(loweredPatterns[i]) != std::string::npos) return kVersionPatterns[i].version;
  }
  return {};
}

}  // namespace

WindowHandle FindChatRoom(HostWindows& host) {
  const WindowHandle mdi = FindMdiClient(host);
  if (mdi == kNoWindow) return kNoWindow;
  for (WindowHandle child = host.FindWindowExA(mdi, kNoWindow, kClassChild); child != kNoWindow;
       child = host.FindWindowExA(mdi, child, kClassChild)) {
    if (IsChatRoom(host, child)) return child;
  }
  return kNoWindow;
}

WindowHandle FindChatInput(HostWindows& host) {
  const WindowHandle room = FindChatRoom(host);
  if (room == kNoWindow) return kNoWindow;
  const WindowHandle first = host.FindWindowExA(room, kNoWindow, kClassRichText);
  return host.FindWindowExA(room, first, kClassRichText);
}

WindowHandle FindChatInput7(HostWindows& host) {
  const WindowHandle room = FindChatRoom(host);
  if (room == kNoWindow) return kNoWindow;
  // A room without a read-only box (the older layout) gives its first
  // rich-text box here: the transcript. Only a misread version sends us here.
  const WindowHandle readOnly = host.FindWindowExA(room, kNoWindow, kClassRichTextReadOnly);
  return host.FindWindowExA(room, readOnly, kClassRichText);
}

std::string GetControlText(HostWindows& host, WindowHandle window) {
  if (window == kNoWindow) return {};
  const std::size_t length = host.SendGetTextLength(window);
  std::string text = host.SendGetText(window, length + 1);
  // The text may have shrunk between the two messages; never more than asked.
  if (text.size() > length) text.resize(length);
  return text;
}

std::string AolVersion(HostWindows& host) {
  const WindowHandle frame = host.FindWindowA(kClassFrame);
  const MenuHandle menuBar = host.GetMenu(frame);
  const int menuCount = MenuEntryCount(host, menuBar);
  for (int menuPosition = 0; menuPosition < menuCount; ++menuPosition) {
    const MenuHandle dropDown = host.GetSubMenu(menuBar, menuPosition);
    const int entryCount = MenuEntryCount(host, dropDown);
    for (int entryPosition = 0; entryPosition < entryCount; ++entryPosition) {
      const MenuItemId id = host.GetMenuItemID(dropDown, entryPosition);
      const auto text = host.GetMenuStringA(dropDown, id, kMenuTextBuffer, kMenuStringFlags);
      if (!text) continue;  // an unreadable entry matches nothing
      const std::string_view version = VersionNamedBy(*text);
      if (!version.empty()) return std::string(version);
    }
  }
  return std::string(kUnrecognisedVersion);
}

}  // namespace wavecrest
