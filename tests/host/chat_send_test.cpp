#include "host/chat_send.h"

#include "core/pause.h"
#include "host/client_version.h"
#include "host/scripted_host.h"
#include "support/virtual_event_loop.h"

#include <gtest/gtest.h>

namespace wavecrest {
namespace {

using testing::ScriptedHost;
using testing::VirtualEventLoop;
using Messages = std::vector<std::string>;

std::string MenuEntryNaming(const std::string& version) {
  if (version == "9.0") return "AOL 9.0 Optimized Features";
  if (version == "3.0") return "Send an Instant Message";
  if (version == "2.5") return "Logging...";
  return "What's New in AOL " + version;
}

bool NewerLayout(const std::string& version) { return RoomLayoutOf(version) == RoomLayout::From7; }

// A client of the given version with one chat room in the given layout,
// whose entry box behaves as that client's: the older ones empty the box
// when the line goes, 7.0 and 8.0 leave a line break, 9.0 its prompt.
struct Client {
  ScriptedHost host;
  WindowHandle transcript = kNoWindow;
  WindowHandle entry = kNoWindow;
  Messages said;

  explicit Client(const std::string& version) : Client(version, NewerLayout(version)) {}
  Client(const std::string& version, bool newerLayout) {
    const WindowHandle mdi = host.AddClient();
    host.SetMenuBar({{"Open", "Save"}, {MenuEntryNaming(version)}});
    host.Add(mdi, kClassChild, "welcome");
    const WindowHandle room = host.Add(mdi, kClassChild, "room");
    host.Add(room, kClassStatic);
    transcript = host.Add(room, newerLayout ? kClassRichTextReadOnly : kClassRichText, "transcript");
    host.Add(room, kClassListBox);
    entry = host.Add(room, kClassRichText, "entry");
    host.Add(room, kClassIcon);
    const std::string leftBehind = !newerLayout ? "" : version == "9.0" ? "Chat Input" : "\r\n";
    host.onChar = [this, leftBehind](WindowHandle w, std::uint32_t c) {
      if (c != kCharEnter || w != entry) return;
      said.push_back(host.tree.Text(w));
      host.tree.SetText(w, leftBehind);
    };
  }
  void HalfTyped(const std::string& text) { host.tree.SetText(entry, text); }
  std::string Box() const { return host.tree.Text(entry); }
};

TEST(ChatSend, TheMessagesOfOneLineInOrder) {
  const struct {
    std::string version;
    std::string before;
    Messages messages;
  } cases[] = {
      {"6.0", "hello",
       {"GETLEN entry", "GET entry 6", "SET entry ", "SET entry line", "CHAR entry 13", "GETLEN entry",
        "GET entry 1", "SET entry hello"}},
      // An empty box is not cleared first, and is set empty at the end.
      {"6.0", "",
       {"GETLEN entry", "GET entry 1", "SET entry line", "CHAR entry 13", "GETLEN entry", "GET entry 1",
        "SET entry "}},
      {"2.5", "", {"GETLEN entry", "GET entry 1", "SET entry line", "CHAR entry 13", "GETLEN entry",
                   "GET entry 1", "SET entry "}},
      {"7.0", "hello",
       {"GETLEN entry", "GET entry 6", "SET entry ", "SET entry line", "CHAR entry 13", "GETLEN entry",
        "GET entry 3", "SET entry hello"}},
      // Only 9.0 takes its prompt out of the saved text.
      {"8.0", "Chat Input",
       {"GETLEN entry", "GET entry 11", "SET entry ", "SET entry line", "CHAR entry 13", "GETLEN entry",
        "GET entry 3", "SET entry Chat Input"}},
      {"9.0", "Chat Input",
       {"GETLEN entry", "GET entry 11", "SET entry ", "SET entry line", "CHAR entry 13", "GETLEN entry",
        "GET entry 11", "SET entry "}},
      {"9.0", "chat input please",
       {"GETLEN entry", "GET entry 18", "SET entry ", "SET entry line", "CHAR entry 13", "GETLEN entry",
        "GET entry 11", "SET entry  please"}},
      {"9.0", "CHAT INPUT please, Chat Input",
       {"GETLEN entry", "GET entry 30", "SET entry ", "SET entry line", "CHAR entry 13", "GETLEN entry",
        "GET entry 11", "SET entry  please, "}},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    Client client(c.version);
    client.HalfTyped(c.before);
    const int passes = loop.PassCount();
    ChatSend(client.host, loop, "line");
    EXPECT_EQ(client.host.Messages(), c.messages) << c.version << " " << c.before;
    EXPECT_EQ(client.said, Messages{"line"}) << c.version;
    // The first Enter showed the line gone: no events ran inside the call.
    EXPECT_EQ(loop.PassCount(), passes) << c.version;
  }
}

TEST(ChatSend, TheMembersHalfTypedTextComesBack) {
  const struct {
    std::string version;
    std::string before;
    std::string after;
  } cases[] = {
      {"6.0", "hello", "hello"},
      {"4.0", "", ""},
      {"7.0", "hello", "hello"},
      {"9.0", "Chat Input", ""},
      {"9.0", "chat input please", " please"},
      {"9.0", "Chat inPut please", " please"},
      {"9.0", "hello", "hello"},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    Client client(c.version);
    client.HalfTyped(c.before);
    ChatSend(client.host, loop, "<b>the line</b>");
    EXPECT_EQ(client.Box(), c.after) << c.version << " " << c.before;
    EXPECT_EQ(client.said, Messages{"<b>the line</b>"}) << c.version;
  }
}

TEST(ChatSend, TheOlderLayoutTypesIntoTheSecondRichTextBoxOnly) {
  VirtualEventLoop loop;
  Client client("6.0");
  client.host.tree.SetText(client.transcript, "Someone:\thi\r\n");
  client.HalfTyped("hello");
  ChatSend(client.host, loop, "line");
  for (const auto& message : client.host.Messages()) {
    EXPECT_EQ(message.find("transcript"), std::string::npos) << message;
  }
  EXPECT_EQ(client.host.tree.Text(client.transcript), "Someone:\thi\r\n");
  EXPECT_EQ(client.said, Messages{"line"});
}

TEST(ChatSend, AnEmptyLineSendsNoMessageToAnyWindow) {
  for (const ClientVersion& known : kClientVersions) {
    const std::string version(known.text);
    VirtualEventLoop loop;
    Client client(version);
    client.HalfTyped("hello");
    ChatSend(client.host, loop, "");
    EXPECT_TRUE(client.host.Messages().empty()) << version;
    EXPECT_EQ(client.Box(), "hello") << version;
  }
}

TEST(ChatSend, NowhereToSendDropsTheLineWithoutAMessage) {
  const struct {
    const char* name;
    std::function<void(ScriptedHost&)> setUp;
  } cases[] = {
      {"no client running", [](ScriptedHost&) {}},
      {"a client with no room open",
       [](ScriptedHost& host) {
         const WindowHandle mdi = host.AddClient();
         host.SetMenuBar({{"What's New in AOL 6.0"}});
         const WindowHandle welcome = host.Add(mdi, kClassChild);
         for (const char* cls : {"_AOL_Static", "RICHCNTL", "RICHCNTL", "_AOL_Icon"}) host.Add(welcome, cls);
       }},
      {"a 6.0 client whose room has only one rich-text box",
       [](ScriptedHost& host) {
         const WindowHandle mdi = host.AddClient();
         host.SetMenuBar({{"What's New in AOL 6.0"}});
         const WindowHandle room = host.Add(mdi, kClassChild);
         for (const char* cls : {"_AOL_Static", "RICHCNTLREADONLY", "_AOL_Listbox", "RICHCNTL", "_AOL_Icon"}) {
           host.Add(room, cls);
         }
       }},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    ScriptedHost host;
    c.setUp(host);
    ChatSend(host, loop, "line");
    EXPECT_TRUE(host.Messages().empty()) << c.name;
    EXPECT_EQ(loop.PassCount(), 0) << c.name;
  }
}

TEST(ChatSend, AClientThatNeverTakesTheLineIsGivenUpAtTheBound) {
  const struct {
    const char* name;
    std::string version;
    std::function<void(Client&)> breakBox;
  } cases[] = {
      {"older layout, the box never empties", "6.0", [](Client& c) { c.host.onChar = nullptr; }},
      {"newer layout, the box stays empty", "9.0",
       [](Client& c) { c.host.onChar = [&c](WindowHandle w, std::uint32_t) { c.host.tree.SetText(w, ""); }; }},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    Client client(c.version);
    c.breakBox(client);
    client.HalfTyped("hello");
    const double start = loop.Now();
    ChatSend(client.host, loop, "line");
    EXPECT_EQ(client.host.CharsSent(), kMaxEnters) << c.name;
    EXPECT_EQ(client.host.Messages().back(), "SET entry hello") << c.name;
    EXPECT_EQ(client.Box(), "hello") << c.name;
    // It waited between Enters rather than spinning, and not past its bound.
    const double waited = loop.Now() - start;
    EXPECT_NEAR(waited, (kMaxEnters - 1) * kEnterPumpWait.count() / 1000.0, 1e-6) << c.name;
    EXPECT_LT(waited, kMaxEnterSeconds) << c.name;
  }
}

TEST(ChatSend, SlowEventsBetweenEntersEndTheLoopByTime) {
  VirtualEventLoop loop;
  Client client("6.0");
  client.host.onChar = nullptr;
  // A command that pauses a second runs whenever this timer fires.
  auto busy = loop.CreateTimer(std::chrono::milliseconds(100), [&] { WaitSeconds(loop, 1); });
  busy->SetEnabled(true);
  const double start = loop.Now();
  ChatSend(client.host, loop, "line");
  EXPECT_LT(client.host.CharsSent(), kMaxEnters);
  EXPECT_GE(client.host.CharsSent(), 2);
  EXPECT_GE(loop.Now() - start, kMaxEnterSeconds);
  EXPECT_LT(loop.Now() - start, kMaxEnterSeconds + 1.5);
  EXPECT_EQ(client.host.Messages().back(), "SET entry ");
}

TEST(ChatSend, ALineSentFromAnEventBetweenEntersRunsToItsEndFirst) {
  VirtualEventLoop loop;
  Client client("6.0");
  // This client takes a line only at its second Enter.
  int ignored = 0;
  client.host.onChar = [&](WindowHandle w, std::uint32_t) {
    if (++ignored < 2) return;
    ignored = 0;
    client.said.push_back(client.host.tree.Text(w));
    client.host.tree.SetText(w, "");
  };
  loop.Post([&] { ChatSend(client.host, loop, "inner"); });
  ChatSend(client.host, loop, "outer");
  // The inner call found the outer line in the box, set it aside and put it
  // back; the outer call then sent it.
  EXPECT_EQ(client.said, (Messages{"inner", "outer"}));
  EXPECT_EQ(client.Box(), "");
}

TEST(ChatSend, TheVersionIsAskedOnEveryLine) {
  VirtualEventLoop loop;
  Client client("6.0");
  ChatSend(client.host, loop, "one");
  // Upgraded to a 9.0 menu while running, the older layout still on screen:
  // the newer search lands on the first rich-text box, as it stands.
  client.host.SetMenuBar({{"AOL 9.0 Optimized Features"}});
  client.host.log.clear();
  ChatSend(client.host, loop, "two");
  ASSERT_FALSE(client.host.Messages().empty());
  EXPECT_EQ(client.host.Messages().front(), "GETLEN transcript");
}

TEST(HostChatClient, SendsAndTellsTheVersionThroughTheHost) {
  VirtualEventLoop loop;
  Client client("5.0");
  HostChatClient chat(client.host, loop);
  EXPECT_EQ(chat.AolVersion(), "5.0");
  chat.ChatSend("hi there");
  EXPECT_EQ(client.said, Messages{"hi there"});
}

}  // namespace
}  // namespace wavecrest
