#pragma once

// A host window tree the test builds exactly, that records every message sent
// to it and lets the test script what a window does with a typed character.

#include "host/discovery.h"
#include "host/host_windows.h"
#include "host/sim/window_tree.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace wavecrest::testing {

class ScriptedHost final : public HostWindows {
 public:
  sim::WindowTree tree;
  // Every message, as "SET name text", "GETLEN name", "GET name size" or
  // "CHAR name code"; windows are shown by the names given with Name().
  std::vector<std::string> log;
  // What a window does with a typed character.
  std::function<void(WindowHandle, std::uint32_t)> onChar;
  // Menu entries (menu, identifier) whose text cannot be read.
  std::set<std::pair<MenuHandle, MenuItemId>> unreadable;

  WindowHandle Add(WindowHandle parent, const std::string& className, const std::string& name = {}) {
    const WindowHandle w = tree.CreateWindow(parent, className);
    if (!name.empty()) names_[w] = name;
    return w;
  }
  void Name(WindowHandle w, const std::string& name) { names_[w] = name; }

  // Frame and inner-window area; returns the "MDIClient".
  WindowHandle AddClient() {
    frame = Add(kNoWindow, kClassFrame, "frame");
    return Add(frame, kClassMdi, "mdi");
  }

  // A menu bar on the frame: one drop-down per list, entries numbered from
  // `firstId` in visiting order.
  void SetMenuBar(const std::vector<std::vector<std::string>>& menus, MenuItemId firstId = 100) {
    const MenuHandle bar = tree.CreateMenu();
    for (const auto& entries : menus) {
      const MenuHandle drop = tree.CreateMenu();
      for (const auto& text : entries) tree.AppendItem(drop, text, firstId++);
      tree.AppendPopup(bar, "Menu", drop);
    }
    tree.SetMenu(frame, bar);
  }

  std::vector<std::string> Messages() const { return log; }
  int CharsSent() const {
    int n = 0;
    for (const auto& entry : log) n += entry.rfind("CHAR ", 0) == 0 ? 1 : 0;
    return n;
  }

  WindowHandle frame = kNoWindow;

  WindowHandle FindWindowA(std::string_view className) override { return tree.FindWindow(className); }
  WindowHandle FindWindowExA(WindowHandle parent, WindowHandle after, std::string_view className) override {
    return tree.FindWindowEx(parent, after, className);
  }
  MenuHandle GetMenu(WindowHandle window) override { return tree.Menu(window); }
  int GetMenuItemCount(MenuHandle menu) override { return tree.MenuItemCount(menu); }
  MenuHandle GetSubMenu(MenuHandle menu, int position) override { return tree.SubMenu(menu, position); }
  MenuItemId GetMenuItemID(MenuHandle menu, int position) override { return tree.MenuItemID(menu, position); }
  std::optional<std::string> GetMenuStringA(MenuHandle menu, MenuItemId item, std::size_t bufferSize,
                                            std::uint32_t flags) override {
    if (unreadable.contains({menu, item})) return std::nullopt;
    return tree.MenuString(menu, item, bufferSize, flags);
  }
  bool SendSetText(WindowHandle window, std::string_view text) override {
    log.push_back("SET " + NameOf(window) + " " + std::string(text));
    return tree.SetText(window, std::string(text.substr(0, text.find('\0'))));
  }
  std::size_t SendGetTextLength(WindowHandle window) override {
    log.push_back("GETLEN " + NameOf(window));
    return tree.Text(window).size();
  }
  std::string SendGetText(WindowHandle window, std::size_t bufferSize) override {
    log.push_back("GET " + NameOf(window) + " " + std::to_string(bufferSize));
    return sim::WindowTree::CutToBuffer(tree.Text(window), bufferSize);
  }
  void SendChar(WindowHandle window, std::uint32_t charCode) override {
    log.push_back("CHAR " + NameOf(window) + " " + std::to_string(charCode));
    if (onChar && tree.Exists(window)) onChar(window, charCode);
  }

 private:
  std::string NameOf(WindowHandle w) const {
    const auto it = names_.find(w);
    return it != names_.end() ? it->second : "#" + std::to_string(w);
  }
  std::map<WindowHandle, std::string> names_;
};

}  // namespace wavecrest::testing
