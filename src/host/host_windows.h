#pragma once

// HostWindows: the chat client's window tree, worked from outside.
//
// The chat client is a separate program. The system finds its windows by
// class, reads its menu bar and sends its controls a handful of window
// messages; this port is exactly that surface and nothing more. Each call is
// named after the Windows function (or message) whose meaning it carries, so
// a Win32 binding is a thin translation and the simulated client is held to
// the same rules.
//
// Handles. A WindowHandle or MenuHandle is an opaque number chosen by the
// host; 0 (kNoWindow, kNoMenu) means "none". A handle stays valid while its
// window or menu exists; after that every call given it fails as for 0. The
// system never keeps a handle between two operations: it searches afresh.
//
// Ownership. The host owns every window and menu; the caller owns nothing it
// is handed and frees nothing.
//
// Failures come back as values, never as exceptions: 0 for a handle, a
// negative count, std::nullopt for a menu text, an empty text or 0 length
// for a window that is gone.
//
// Texts are UTF-8 on this side; a binding to a client that speaks its ANSI
// code page converts at its own edge. Lengths and buffer sizes are counted in
// bytes of UTF-8 text, and a text cut to fit a buffer is never cut inside a
// character.
//
// Threading: every call is made on the UI thread. A call never runs the
// system's events: whatever the client does in reaction to a message (saying
// a line in the room, for instance) reaches the system later, through the
// event loop, never from inside the call.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest {

using WindowHandle = std::uint64_t;
using MenuHandle = std::uint64_t;
using MenuItemId = std::uint32_t;

inline constexpr WindowHandle kNoWindow = 0;
inline constexpr MenuHandle kNoMenu = 0;
// GetMenuItemID's answer for an entry that opens a drop-down, or a position
// that holds no entry (the Windows value −1).
inline constexpr MenuItemId kNoMenuItemId = 0xFFFFFFFFu;

// GetMenuStringA flags: without kMenuByPosition the entry is addressed by
// its command identifier.
inline constexpr std::uint32_t kMenuByPosition = 0x0400;

// The window messages the system sends, for logs and recording fakes.
inline constexpr std::uint32_t kWmSetText = 0x000C;
inline constexpr std::uint32_t kWmGetText = 0x000D;
inline constexpr std::uint32_t kWmGetTextLength = 0x000E;
inline constexpr std::uint32_t kWmChar = 0x0102;

// Character codes WM_CHAR carries for the two editing keys the system and
// the simulated client care about.
inline constexpr std::uint32_t kCharBackspace = 8;
inline constexpr std::uint32_t kCharEnter = 13;

class HostWindows {
 public:
  virtual ~HostWindows() = default;

  // --- Windows ---------------------------------------------------------

  // FindWindowA(class, no caption): the first top-level window whose class
  // is exactly `className` (case-sensitive, as the system relies on), or 0.
  virtual WindowHandle FindWindowA(std::string_view className) = 0;

  // FindWindowExA(parent, after, class, no caption): the next direct child
  // of `parent` of class `className` after the child `after`, in the
  // parent's child order; `after` = 0 searches from the first child. Parent
  // 0 searches the top-level windows. Returns 0 when there is none, when
  // `parent` does not exist, or when `after` is not a child of `parent`.
  virtual WindowHandle FindWindowExA(WindowHandle parent, WindowHandle after, std::string_view className) = 0;

  // --- Menus -----------------------------------------------------------

  // GetMenu(window): the window's menu bar, or 0.
  virtual MenuHandle GetMenu(WindowHandle window) = 0;

  // GetMenuItemCount(menu): the number of entries, or a negative number on
  // failure (no such menu). Callers read a negative count as no entries.
  virtual int GetMenuItemCount(MenuHandle menu) = 0;

  // GetSubMenu(menu, position): the drop-down opened by the entry at the
  // 0-based position, or 0 when that entry opens none or does not exist.
  virtual MenuHandle GetSubMenu(MenuHandle menu, int position) = 0;

  // GetMenuItemID(menu, position): the command identifier of the entry at
  // the 0-based position, or kNoMenuItemId for an entry that opens a
  // drop-down or a position outside the menu.
  virtual MenuItemId GetMenuItemID(MenuHandle menu, int position) = 0;

  // GetMenuStringA(menu, item, buffer, bufferSize, flags): the text of an
  // entry, cut to at most bufferSize − 1 bytes (room for the terminating
  // zero). Without kMenuByPosition in `flags`, `item` is a command
  // identifier: the first entry carrying it is read, searching the menu's
  // entries in order and the drop-downs they open (as Windows does), so two
  // entries sharing an identifier both read as the first. With it, `item`
  // is a 0-based position. std::nullopt when no entry is found (the Windows
  // call returns 0 and leaves the buffer untouched).
  virtual std::optional<std::string> GetMenuStringA(MenuHandle menu, MenuItemId item, std::size_t bufferSize,
                                                    std::uint32_t flags) = 0;

  // --- Messages (SendMessageA) -------------------------------------------
  // Each is synchronous: it returns when the window has handled it.

  // WM_SETTEXT (wParam 0, lParam the text): the window's text becomes
  // `text` up to its first NUL character, as a zero-terminated string would
  // carry it. Returns false when the window does not exist.
  virtual bool SendSetText(WindowHandle window, std::string_view text) = 0;

  // WM_GETTEXTLENGTH: the length of the window's text in bytes; 0 for an
  // empty text or a window that does not exist.
  virtual std::size_t SendGetTextLength(WindowHandle window) = 0;

  // WM_GETTEXT (wParam bufferSize, lParam the buffer): the window's text cut
  // to at most bufferSize − 1 bytes; empty for bufferSize 0 or 1 or a window
  // that does not exist.
  virtual std::string SendGetText(WindowHandle window, std::size_t bufferSize) = 0;

  // WM_CHAR (wParam the character code, lParam 0): one typed character; 13
  // is Enter. What the window does with it is the client's own affair. A
  // window that does not exist ignores it.
  virtual void SendChar(WindowHandle window, std::uint32_t charCode) = 0;
};

}  // namespace wavecrest
