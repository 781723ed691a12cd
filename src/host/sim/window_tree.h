#pragma once

// A tree of windows and menus with the search rules of the host's window
// system: the structure half of a simulated client. It answers the
// HostWindows searches and menu reads over plain data; what a window does
// with a message is left to whoever owns the tree.
//
// Handles are never reused: a window destroyed and created again gets a new
// handle, so a handle kept too long finds nothing, as on the real host.

#include "host/host_windows.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::sim {

class WindowTree {
 public:
  // Creates a window as the last child of `parent` (0: a top-level window).
  // Returns 0 when the parent does not exist.
  WindowHandle CreateWindow(WindowHandle parent, std::string className, std::string text = {});
  // Destroys a window with all its children and menu bar; unknown handles
  // are ignored.
  void DestroyWindow(WindowHandle window);
  bool Exists(WindowHandle window) const { return windows_.contains(window); }
  // The parent of a window (0 for a top-level window or none).
  WindowHandle Parent(WindowHandle window) const;
  std::string_view ClassName(WindowHandle window) const;

  // A window's text; empty for a window that does not exist.
  const std::string& Text(WindowHandle window) const;
  // Sets a window's text; false when it does not exist.
  bool SetText(WindowHandle window, std::string text);

  // Menus: a new empty menu, entries appended at the end. A menu given to
  // a window with SetMenu is destroyed with it.
  MenuHandle CreateMenu();
  void AppendItem(MenuHandle menu, std::string text, MenuItemId id);
  void AppendSeparator(MenuHandle menu);
  void AppendPopup(MenuHandle menu, std::string text, MenuHandle popup);
  void SetMenu(WindowHandle window, MenuHandle bar);

  // The host's searches and menu reads, with the rules HostWindows states.
  WindowHandle FindWindow(std::string_view className) const;
  WindowHandle FindWindowEx(WindowHandle parent, WindowHandle after, std::string_view className) const;
  MenuHandle Menu(WindowHandle window) const;
  int MenuItemCount(MenuHandle menu) const;
  MenuHandle SubMenu(MenuHandle menu, int position) const;
  MenuItemId MenuItemID(MenuHandle menu, int position) const;
  std::optional<std::string> MenuString(MenuHandle menu, MenuItemId item, std::size_t bufferSize,
                                        std::uint32_t flags) const;

  // `text` cut to at most bufferSize − 1 bytes, never inside a character.
  static std::string CutToBuffer(std::string_view text, std::size_t bufferSize);

 private:
  struct Window {
    std::string className;
    std::string text;
    WindowHandle parent = kNoWindow;
    std::vector<WindowHandle> children;
    MenuHandle menu = kNoMenu;
  };
  struct MenuItem {
    std::string text;
    MenuItemId id = 0;
    MenuHandle popup = kNoMenu;
  };
  struct MenuData {
    std::vector<MenuItem> items;
  };

  const std::vector<WindowHandle>* ChildrenOf(WindowHandle parent) const;
  const MenuItem* ItemAt(MenuHandle menu, int position) const;
  const MenuItem* ItemById(MenuHandle menu, MenuItemId id, int depth) const;
  void DestroyMenu(MenuHandle menu);

  std::map<WindowHandle, Window> windows_;
  std::map<MenuHandle, MenuData> menus_;
  std::vector<WindowHandle> topLevel_;
  // Windows and menus share one counter, so no number is ever both.
  std::uint64_t nextHandle_ = 0x10;
};

}  // namespace wavecrest::sim
