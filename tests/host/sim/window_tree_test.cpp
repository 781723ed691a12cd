#include "host/sim/window_tree.h"

#include <gtest/gtest.h>

namespace wavecrest::sim {
namespace {

TEST(WindowTree, ChildSearchFollowsChildOrderAfterTheGivenSibling) {
  WindowTree tree;
  const WindowHandle parent = tree.CreateWindow(kNoWindow, "P");
  const WindowHandle a1 = tree.CreateWindow(parent, "A");
  const WindowHandle b1 = tree.CreateWindow(parent, "B");
  const WindowHandle a2 = tree.CreateWindow(parent, "A");
  const WindowHandle other = tree.CreateWindow(kNoWindow, "A");
  const struct {
    const char* name;
    WindowHandle parent;
    WindowHandle after;
    const char* cls;
    WindowHandle expected;
  } cases[] = {
      {"from the first child", parent, kNoWindow, "A", a1},
      {"after the first", parent, a1, "A", a2},
      {"after a sibling of another class", parent, b1, "A", a2},
      {"after the last of the class", parent, a2, "A", kNoWindow},
      {"class is case-sensitive", parent, kNoWindow, "a", kNoWindow},
      {"after a window that is not a child", parent, other, "A", kNoWindow},
      {"a parent that does not exist", 0xDEAD, kNoWindow, "A", kNoWindow},
      {"parent 0: the top-level windows", kNoWindow, parent, "A", other},
  };
  for (const auto& c : cases) EXPECT_EQ(tree.FindWindowEx(c.parent, c.after, c.cls), c.expected) << c.name;
  EXPECT_EQ(tree.FindWindow("P"), parent);
}

TEST(WindowTree, DestroyingAWindowTakesItsChildrenAndHandlesAreNeverReused) {
  WindowTree tree;
  const WindowHandle top = tree.CreateWindow(kNoWindow, "T");
  const WindowHandle mid = tree.CreateWindow(top, "M");
  const WindowHandle leaf = tree.CreateWindow(mid, "L");
  const MenuHandle bar = tree.CreateMenu();
  tree.SetMenu(top, bar);
  tree.DestroyWindow(mid);
  EXPECT_FALSE(tree.Exists(mid));
  EXPECT_FALSE(tree.Exists(leaf));
  EXPECT_EQ(tree.FindWindowEx(top, kNoWindow, "M"), kNoWindow);
  EXPECT_FALSE(tree.SetText(leaf, "x"));
  const WindowHandle again = tree.CreateWindow(top, "M");
  EXPECT_NE(again, mid);
  EXPECT_NE(again, leaf);
  tree.DestroyWindow(top);
  EXPECT_EQ(tree.MenuItemCount(bar), -1);
  EXPECT_EQ(tree.CreateWindow(top, "X"), kNoWindow);
}

TEST(WindowTree, MenuReads) {
  WindowTree tree;
  const MenuHandle bar = tree.CreateMenu();
  const MenuHandle file = tree.CreateMenu();
  const MenuHandle recent = tree.CreateMenu();
  tree.AppendItem(recent, "song.mp3", 300);
  tree.AppendItem(file, "Open", 100);
  tree.AppendPopup(file, "Recent", recent);
  tree.AppendSeparator(file);
  tree.AppendItem(file, "Exit", 101);
  tree.AppendPopup(bar, "File", file);

  EXPECT_EQ(tree.MenuItemCount(bar), 1);
  EXPECT_EQ(tree.MenuItemCount(file), 4);
  EXPECT_EQ(tree.MenuItemCount(0xDEAD), -1);
  EXPECT_EQ(tree.SubMenu(bar, 0), file);
  EXPECT_EQ(tree.SubMenu(file, 0), kNoMenu);
  EXPECT_EQ(tree.SubMenu(file, 9), kNoMenu);
  EXPECT_EQ(tree.MenuItemID(file, 0), 100u);
  EXPECT_EQ(tree.MenuItemID(file, 1), kNoMenuItemId);
  EXPECT_EQ(tree.MenuItemID(file, 2), 0u);
  EXPECT_EQ(tree.MenuItemID(file, -1), kNoMenuItemId);

  const struct {
    MenuHandle menu;
    MenuItemId item;
    std::uint32_t flags;
    std::optional<std::string> expected;
  } reads[] = {
      {file, 101, 1, "Exit"},
      {file, 300, 1, "song.mp3"},  // by identifier, drop-downs are searched too
      {bar, 101, 1, "Exit"},
      {file, 3, kMenuByPosition, "Exit"},
      {file, 1, kMenuByPosition, "Recent"},
      {file, 0, 1, ""},  // the separator
      {file, 999, 1, std::nullopt},
      {file, 9, kMenuByPosition, std::nullopt},
  };
  for (const auto& r : reads) EXPECT_EQ(tree.MenuString(r.menu, r.item, 100, r.flags), r.expected) << r.item;
}

TEST(WindowTree, TextsAreCutToTheBufferNeverInsideACharacter) {
  const struct {
    std::string text;
    std::size_t buffer;
    std::string expected;
  } cases[] = {
      {"hello", 0, ""},     {"hello", 1, ""},        {"hello", 3, "he"},         {"hello", 6, "hello"},
      {"hello", 99, "hello"}, {"josé", 5, "jos"},    {"josé", 6, "josé"},        {"€uro", 3, ""},
      {"€uro", 4, "€"},
  };
  for (const auto& c : cases) EXPECT_EQ(WindowTree::CutToBuffer(c.text, c.buffer), c.expected) << c.text << c.buffer;
}

}  // namespace
}  // namespace wavecrest::sim
