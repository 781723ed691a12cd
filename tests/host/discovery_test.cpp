#include "host/discovery.h"

#include "host/scripted_host.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::ScriptedHost;
using Classes = std::vector<std::string>;

const Classes kFullRoom{"_AOL_Static", "RICHCNTL", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"};

struct Built {
  std::vector<WindowHandle> inner;                  // the "AOL Child" windows, in order
  std::vector<std::vector<WindowHandle>> children;  // their children, in order
};

// A client whose inner windows have the given child classes.
Built BuildClient(ScriptedHost& host, const std::vector<Classes>& innerWindows) {
  Built built;
  const WindowHandle mdi = host.AddClient();
  for (const auto& classes : innerWindows) {
    const WindowHandle child = host.Add(mdi, kClassChild);
    built.inner.push_back(child);
    built.children.emplace_back();
    for (const auto& cls : classes) built.children.back().push_back(host.Add(child, cls));
  }
  return built;
}

TEST(FindChatRoom, TheFirstInnerWindowWithAllFourChildClassesIsTheRoom) {
  const struct {
    const char* name;
    std::vector<Classes> innerWindows;
    int expected;  // index of the inner window found, −1 for none
  } cases[] = {
      {"first lacks a list box, second is a room",
       {{"_AOL_Static", "RICHCNTL", "_AOL_Icon"}, kFullRoom}, 1},
      {"two rooms: the first in child order", {kFullRoom, kFullRoom}, 0},
      {"no static text: no room", {{"RICHCNTL", "_AOL_Listbox", "_AOL_Icon"}}, -1},
      {"no rich-text box: no room", {{"_AOL_Static", "_AOL_Listbox", "_AOL_Icon", "RICHCNTLREADONLY"}}, -1},
      {"no icon: no room", {{"_AOL_Static", "RICHCNTL", "_AOL_Listbox"}}, -1},
      {"7.0 layout counts", {{"_AOL_Static", "RICHCNTLREADONLY", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"}}, 0},
      {"third window after two that are not rooms", {{"_AOL_Static"}, {}, kFullRoom}, 2},
      {"class names match exactly", {{"_aol_static", "RICHCNTL", "_AOL_Listbox", "_AOL_Icon"}}, -1},
      {"no inner windows", {}, -1},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    const Built built = BuildClient(host, c.innerWindows);
    const WindowHandle expected = c.expected < 0 ? kNoWindow : built.inner[static_cast<std::size_t>(c.expected)];
    EXPECT_EQ(FindChatRoom(host), expected) << c.name;
  }
}

TEST(FindChatRoom, ChildrenOfChildrenDoNotMakeARoom) {
  ScriptedHost host;
  const WindowHandle mdi = host.AddClient();
  const WindowHandle child = host.Add(mdi, kClassChild);
  const WindowHandle panel = host.Add(child, "_AOL_Static");
  for (const char* cls : {"RICHCNTL", "_AOL_Listbox", "_AOL_Icon"}) host.Add(panel, cls);
  EXPECT_EQ(FindChatRoom(host), kNoWindow);
}

TEST(FindChatRoom, InnerWindowsOutsideTheFramesMdiClientAreNotSearched) {
  ScriptedHost host;
  host.AddClient();
  // An "AOL Child" straight under the frame, not under "MDIClient".
  const WindowHandle stray = host.Add(host.frame, kClassChild);
  for (const auto& cls : kFullRoom) host.Add(stray, cls);
  EXPECT_EQ(FindChatRoom(host), kNoWindow);
}

TEST(FindChatInput, EachLayoutFindsItsOwnBox) {
  const struct {
    const char* name;
    Classes room;
    int input;   // child index FindChatInput gives, −1 for none
    int input7;  // child index FindChatInput7 gives
  } cases[] = {
      {"older layout: the second rich-text box; the newer search lands on the transcript", kFullRoom, 3, 1},
      {"7.0 layout: the box after the read-only one; the older search finds no second box",
       {"_AOL_Static", "RICHCNTLREADONLY", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"}, -1, 3},
      {"a rich-text box before the read-only one is passed over by the newer search",
       {"_AOL_Static", "RICHCNTL", "RICHCNTLREADONLY", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"}, 4, 4},
      {"three rich-text boxes: the older search takes the second",
       {"RICHCNTL", "_AOL_Static", "RICHCNTL", "RICHCNTL", "_AOL_Listbox", "_AOL_Icon"}, 2, 0},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    const Built built = BuildClient(host, {c.room});
    const auto& kids = built.children[0];
    const auto at = [&](int i) { return i < 0 ? kNoWindow : kids[static_cast<std::size_t>(i)]; };
    EXPECT_EQ(FindChatInput(host), at(c.input)) << c.name;
    EXPECT_EQ(FindChatInput7(host), at(c.input7)) << c.name;
  }
}

TEST(Discovery, AnEmptyOrPartialClientTreeFindsNothingAndReadsAsNine) {
  const struct {
    const char* name;
    bool frame;
    bool mdi;
    bool menuBar;
  } cases[] = {
      {"no client at all", false, false, false},
      {"a frame without inner-window area or menu", true, false, false},
      {"a frame with an empty inner-window area and an empty menu bar", true, true, true},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    if (c.frame) host.frame = host.Add(kNoWindow, kClassFrame);
    if (c.mdi) host.Add(host.frame, kClassMdi);
    if (c.menuBar) host.SetMenuBar({});
    EXPECT_EQ(FindChatRoom(host), kNoWindow) << c.name;
    EXPECT_EQ(FindChatInput(host), kNoWindow) << c.name;
    EXPECT_EQ(FindChatInput7(host), kNoWindow) << c.name;
    EXPECT_EQ(AolVersion(host), "9.0") << c.name;
    EXPECT_TRUE(host.Messages().empty()) << c.name;
  }
}

TEST(GetControlText, AsksTheLengthThenTheTextWithRoomForTheZero) {
  const struct {
    std::string text;
    std::vector<std::string> messages;
  } cases[] = {
      {"", {"GETLEN box", "GET box 1"}},
      {"hello", {"GETLEN box", "GET box 6"}},
      {"josé <b>x</b>", {"GETLEN box", "GET box 15"}},
      {std::string(5000, 'a'), {"GETLEN box", "GET box 5001"}},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    const WindowHandle box = host.Add(kNoWindow, "RICHCNTL", "box");
    host.tree.SetText(box, c.text);
    EXPECT_EQ(GetControlText(host, box), c.text);
    EXPECT_EQ(host.Messages(), c.messages) << c.text.size();
  }
}

TEST(GetControlText, WindowZeroOrAVanishedWindowReadsEmpty) {
  ScriptedHost host;
  EXPECT_EQ(GetControlText(host, kNoWindow), "");
  EXPECT_TRUE(host.Messages().empty());
  const WindowHandle gone = host.Add(kNoWindow, "RICHCNTL");
  host.tree.SetText(gone, "text");
  host.tree.DestroyWindow(gone);
  EXPECT_EQ(GetControlText(host, gone), "");
}

TEST(AolVersion, ThePatternTableAndItsVisitingOrder) {
  const std::string longPrefix(80, 'x');
  const struct {
    const char* name;
    std::vector<std::vector<std::string>> menus;
    std::string expected;
  } cases[] = {
      {"6.0 followed by more text", {{"Open", "Save"}, {"What's New in AOL 6.0 and Beyond"}}, "6.0"},
      {"6.0 in upper case", {{"WHAT'S NEW IN AOL 6.0"}}, "6.0"},
      {"4.0 in lower case", {{"what's new in aol 4.0"}}, "4.0"},
      {"5.0 as a later entry", {{"x", "What's New in AOL 5.0"}}, "5.0"},
      {"7.0", {{"What's New in AOL 7.0"}}, "7.0"},
      {"8.0", {{"What's New in AOL 8.0"}}, "8.0"},
      {"an earlier menu's lower pattern wins", {{"Send an Instant Message"}, {"What's New in AOL 4.0"}}, "3.0"},
      {"an earlier entry's lower pattern wins within a menu", {{"Logging...", "What's New in AOL 7.0"}}, "2.5"},
      {"one entry naming two: the table order decides", {{"Logging... or What's New in AOL 8.0"}}, "8.0"},
      {"9.0 in a later menu with nothing before", {{"Open"}, {"Mail"}, {"AOL 9.0 Optimized Features"}}, "9.0"},
      {"9.0 loses to an earlier 5.0", {{"What's New in AOL 5.0"}, {"AOL 9.0 Optimized Features"}}, "5.0"},
      {"nothing matches", {{"Open", "Save"}, {"About"}}, "9.0"},
      {"logging needs its dots", {{"Logging"}}, "9.0"},
      {"AOL 3.0 has no What's New pattern", {{"What's New in AOL 3.0"}}, "9.0"},
      {"the pattern inside the first 99 characters is read", {{longPrefix + "Logging..."}}, "2.5"},
      {"text past the 99th character is not read", {{longPrefix + "What's New in AOL 6.0"}, {"Logging..."}}, "2.5"},
  };
  for (const auto& c : cases) {
    ScriptedHost host;
    host.AddClient();
    host.SetMenuBar(c.menus);
    EXPECT_EQ(AolVersion(host), c.expected) << c.name;
  }
}

TEST(AolVersion, EntriesAreReadByTheirIdentifierNotTheirPosition) {
  // Two entries sharing one identifier both read as the first of them.
  ScriptedHost host;
  host.AddClient();
  const MenuHandle bar = host.tree.CreateMenu();
  const MenuHandle drop = host.tree.CreateMenu();
  host.tree.AppendItem(drop, "Open", 7);
  host.tree.AppendItem(drop, "What's New in AOL 6.0", 7);
  host.tree.AppendPopup(bar, "Help", drop);
  host.tree.SetMenu(host.frame, bar);
  EXPECT_EQ(AolVersion(host), "9.0");
}

TEST(AolVersion, UnreadableEntriesAndPlainBarEntriesArePassedOver) {
  ScriptedHost host;
  host.AddClient();
  const MenuHandle bar = host.tree.CreateMenu();
  host.tree.AppendItem(bar, "What's New in AOL 8.0", 1);  // a bar entry without a drop-down
  const MenuHandle drop = host.tree.CreateMenu();
  host.tree.AppendItem(drop, "What's New in AOL 6.0", 2);
  host.tree.AppendSeparator(drop);
  host.tree.AppendItem(drop, "Send an Instant Message", 3);
  host.tree.AppendPopup(bar, "People", drop);
  host.tree.SetMenu(host.frame, bar);
  host.unreadable.insert({drop, 2});
  EXPECT_EQ(AolVersion(host), "3.0");
}

TEST(AolVersion, NeverKeepsAnAnswerBetweenCalls) {
  ScriptedHost host;
  host.AddClient();
  host.SetMenuBar({{"What's New in AOL 4.0"}});
  EXPECT_EQ(AolVersion(host), "4.0");
  host.SetMenuBar({{"What's New in AOL 7.0"}});  // the client was upgraded
  EXPECT_EQ(AolVersion(host), "7.0");
  host.tree.DestroyWindow(host.frame);
  EXPECT_EQ(AolVersion(host), "9.0");
}

}  // namespace
}  // namespace wavecrest
