#include "host/sim/window_tree.h"

#include <algorithm>

namespace wavecrest::sim {
namespace {

// Drop-downs nest only a few levels in any real menu bar; the bound keeps a
// by-identifier search finite even if a menu were made to contain itself.
constexpr int kMaxMenuDepth = 8;

const std::string kNoText;

}  // namespace

WindowHandle WindowTree::CreateWindow(WindowHandle parent, std::string className, std::string text) {
  if (parent != kNoWindow && !Exists(parent)) return kNoWindow;
  const WindowHandle handle = nextHandle_++;
  windows_[handle] = Window{std::move(className), std::move(text), parent, {}, kNoMenu};
  if (parent == kNoWindow) {
    topLevel_.push_back(handle);
  } else {
    windows_[parent].children.push_back(handle);
  }
  return handle;
}

void WindowTree::DestroyWindow(WindowHandle window) {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return;
  const std::vector<WindowHandle> children = it->second.children;
  for (const WindowHandle child : children) DestroyWindow(child);
  const Window& w = windows_.at(window);
  DestroyMenu(w.menu);
  auto& siblings = w.parent == kNoWindow ? topLevel_ : windows_.at(w.parent).children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
  windows_.erase(window);
}

WindowHandle WindowTree::Parent(WindowHandle window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? kNoWindow : it->second.parent;
}

std::string_view WindowTree::ClassName(WindowHandle window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? std::string_view{} : std::string_view{it->second.className};
}

const std::string& WindowTree::Text(WindowHandle window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? kNoText : it->second.text;
}

bool WindowTree::SetText(WindowHandle window, std::string text) {
  const auto it = windows_.find(window);
  if (it == windows_.end()) return false;
  it->second.text = std::move(text);
  return true;
}

MenuHandle WindowTree::CreateMenu() {
  const MenuHandle handle = nextHandle_++;
  menus_[handle] = MenuData{};
  return handle;
}

void WindowTree::AppendItem(MenuHandle menu, std::string text, MenuItemId id) {
  const auto it = menus_.find(menu);
  if (it != menus_.end()) it->second.items.push_back(MenuItem{std::move(text), id, kNoMenu});
}

void WindowTree::AppendSeparator(MenuHandle menu) { AppendItem(menu, {}, 0); }

void WindowTree::AppendPopup(MenuHandle menu, std::string text, MenuHandle popup) {
  const auto it = menus_.find(menu);
  if (it != menus_.end() && menus_.contains(popup)) {
    it->second.items.push_back(MenuItem{std::move(text), kNoMenuItemId, popup});
  }
}

void WindowTree::SetMenu(WindowHandle window, MenuHandle bar) {
  const auto it = windows_.find(window);
  if (it != windows_.end()) it->second.menu = bar;
}

void WindowTree::DestroyMenu(MenuHandle menu) {
  const auto it = menus_.find(menu);
  if (it == menus_.end()) return;
  const std::vector<MenuItem> items = std::move(it->second.items);
  menus_.erase(it);
  for (const auto& item : items) DestroyMenu(item.popup);
}

const std::vector<WindowHandle>* WindowTree::ChildrenOf(WindowHandle parent) const {
  if (parent == kNoWindow) return &topLevel_;
  const auto it = windows_.find(parent);
  return it == windows_.end() ? nullptr : &it->second.children;
}

WindowHandle WindowTree::FindWindow(std::string_view className) const {
  return FindWindowEx(kNoWindow, kNoWindow, className);
}

WindowHandle WindowTree::FindWindowEx(WindowHandle parent, WindowHandle after, std::string_view className) const {
  const auto* children = ChildrenOf(parent);
  if (children == nullptr) return kNoWindow;
  auto it = children->begin();
  if (after != kNoWindow) {
    it = std::find(children->begin(), children->end(), after);
    if (it == children->end()) return kNoWindow;  // not a child of this parent
    ++it;
  }
  for (; it != children->end(); ++it) {
    if (windows_.at(*it).className == className) return *it;
  }
  return kNoWindow;
}

MenuHandle WindowTree::Menu(WindowHandle window) const {
  const auto it = windows_.find(window);
  return it == windows_.end() ? kNoMenu : it->second.menu;
}

int WindowTree::MenuItemCount(MenuHandle menu) const {
  const auto it = menus_.find(menu);
  return it == menus_.end() ? -1 : static_cast<int>(it->second.items.size());
}

const WindowTree::MenuItem* WindowTree::ItemAt(MenuHandle menu, int position) const {
  const auto it = menus_.find(menu);
  if (it == menus_.end() || position < 0 || position >= static_cast<int>(it->second.items.size())) return nullptr;
  return &it->second.items[static_cast<std::size_t>(position)];
}

MenuHandle WindowTree::SubMenu(MenuHandle menu, int position) const {
  const MenuItem* item = ItemAt(menu, position);
  return item == nullptr ? kNoMenu : item->popup;
}

MenuItemId WindowTree::MenuItemID(MenuHandle menu, int position) const {
  const MenuItem* item = ItemAt(menu, position);
  return item == nullptr || item->popup != kNoMenu ? kNoMenuItemId : item->id;
}

const WindowTree::MenuItem* WindowTree::ItemById(MenuHandle menu, MenuItemId id, int depth) const {
  const auto it = menus_.find(menu);
  if (it == menus_.end() || depth > kMaxMenuDepth) return nullptr;
  for (const auto& item : it->second.items) {
    if (item.id == id) return &item;
    if (item.popup != kNoMenu) {
      if (const MenuItem* found = ItemById(item.popup, id, depth + 1)) return found;
    }
  }
  return nullptr;
}

std::optional<std::string> WindowTree::MenuString(MenuHandle menu, MenuItemId item, std::size_t bufferSize,
                                                  std::uint32_t flags) const {
  const MenuItem* found = (flags & kMenuByPosition) != 0 ? ItemAt(menu, static_cast<int>(item))
                                                         : ItemById(menu, item, 0);
  if (found == nullptr) return std::nullopt;
  return CutToBuffer(found->text, bufferSize);
}

std::string WindowTree::CutToBuffer(std::string_view text, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::size_t length = std::min(text.size(), bufferSize - 1);
  // Back off over continuation bytes so no character is cut in half.
  if (length < text.size()) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  return std::string(text.substr(0, length));
}

}  // namespace wavecrest::sim
