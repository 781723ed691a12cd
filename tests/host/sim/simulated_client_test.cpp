#include "host/sim/simulated_client.h"

#include "host/chat_send.h"
#include "host/discovery.h"
#include "host/sim/client_menus.h"
#include "support/virtual_event_loop.h"

#include <gtest/gtest.h>

#include <optional>

namespace wavecrest::sim {
namespace {

using testing::VirtualEventLoop;
using Lines = std::vector<RoomLine>;

const std::string kMember = "Some Member";

struct Reported {
  std::vector<RoomLine> lines;
  ChatScanner::LineHandler Handler() {
    return [this](const Speaker& speaker, const std::string& text) { lines.push_back({speaker.name, text}); };
  }
};

TEST(SimulatedClient, EachVersionReadsAsItselfAndItsEntryBoxIsFoundInItsLayout) {
  for (const auto& version : KnownClientVersions()) {
    VirtualEventLoop loop;
    SimulatedClient client(loop, version, kMember);
    EXPECT_EQ(AolVersion(client), version);
    // The welcome window stands first among the inner windows and is no room.
    const WindowHandle mdi = client.FindWindowExA(client.FindWindowA(kClassFrame), kNoWindow, kClassMdi);
    const WindowHandle first = client.FindWindowExA(mdi, kNoWindow, kClassChild);
    EXPECT_NE(FindChatRoom(client), kNoWindow) << version;
    EXPECT_NE(FindChatRoom(client), first) << version;

    const bool newer = UsesReadOnlyTranscript(version);
    const WindowHandle box = newer ? FindChatInput7(client) : FindChatInput(client);
    client.MemberTypes("half typed");
    EXPECT_EQ(GetControlText(client, box), "half typed") << version;
    if (newer) {
      EXPECT_EQ(FindChatInput(client), kNoWindow) << version;
    }
  }
}

TEST(SimulatedClient, EnterLeavesTheBoxAsTheVersionsClientDoes) {
  const struct {
    std::string version;
    std::string boxAtStart;
    std::string boxAfterEnter;
  } cases[] = {
      {"2.5", "", ""},      {"3.0", "", ""},      {"4.0", "", ""},     {"5.0", "", ""},
      {"6.0", "", ""},      {"7.0", "", "\r\n"},  {"8.0", "", "\r\n"}, {"9.0", "Chat Input", "Chat Input"},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    SimulatedClient client(loop, c.version, kMember);
    EXPECT_EQ(client.EntryBoxText(), c.boxAtStart) << c.version;
    client.MemberPressesEnter();  // an idle box says nothing
    client.MemberSays("hi all");
    EXPECT_EQ(client.EntryBoxText(), c.boxAfterEnter) << c.version;
    client.MemberPressesEnter();  // what the client left behind is not a line
    client.MemberSays(" \r\n ");  // nor is a blank one
    EXPECT_EQ(client.Transcript(), (Lines{{kMember, "hi all"}})) << c.version;
  }
}

TEST(SimulatedClient, ChatSendSaysTheLineOnceWithOneEnterAndRestoresTheBox) {
  const struct {
    std::string version;
    std::optional<std::string> halfTyped;  // nullopt: the box as the client left it
    bool memberSpokeFirst;
    std::string boxAfter;
  } cases[] = {
      {"2.5", std::nullopt, false, ""},
      {"6.0", "hello", false, "hello"},
      {"6.0", std::nullopt, true, ""},
      {"7.0", "hello", false, "hello"},
      {"8.0", std::nullopt, true, "\r\n"},
      {"9.0", std::nullopt, false, ""},  // the prompt is not put back as text
      {"9.0", "chat input please", false, " please"},
      {"9.0", "Chat Input", true, ""},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    SimulatedClient client(loop, c.version, kMember);
    if (c.memberSpokeFirst) client.MemberSays("earlier");
    if (c.halfTyped) client.MemberTypes(*c.halfTyped);
    const std::size_t before = client.Transcript().size();
    const int passes = loop.PassCount();
    ChatSend(client, loop, "<font face=\"arial\">> next #2 - <b>song</b> </font>");
    ASSERT_EQ(client.Transcript().size(), before + 1) << c.version;
    EXPECT_EQ(client.Transcript().back(), (RoomLine{kMember, "<font face=\"arial\">> next #2 - <b>song</b> </font>"}));
    EXPECT_EQ(client.EntryBoxText(), c.boxAfter) << c.version;
    EXPECT_EQ(loop.PassCount(), passes) << c.version << ": one Enter, no events run";
  }
}

TEST(SimulatedClient, EveryLineReachesTheScannerOnlyThroughTheLoop) {
  const struct {
    const char* name;
    std::function<void(SimulatedClient&, EventLoop&)> act;
    RoomLine expected;
  } cases[] = {
      {"the member says a line", [](SimulatedClient& c, EventLoop&) { c.MemberSays("p abc"); }, {kMember, "p abc"}},
      {"another person speaks", [](SimulatedClient& c, EventLoop&) { c.OtherSays("Guest", "<b>hi</b>"); },
       {"Guest", "<b>hi</b>"}},
      {"the system sends a reply",
       [](SimulatedClient& c, EventLoop& loop) { ChatSend(c, loop, "<font color=\"#0000ff\">> vol 50 </font>"); },
       {kMember, "<font color=\"#0000ff\">> vol 50 </font>"}},
  };
  for (const auto& version : {"6.0", "9.0"}) {
    for (const auto& c : cases) {
      VirtualEventLoop loop;
      SimulatedClient client(loop, version, kMember);
      Reported reported;
      client.Start(reported.Handler());
      c.act(client, loop);
      EXPECT_TRUE(reported.lines.empty()) << c.name << ": reported from inside the call";
      loop.RunUntilIdle();
      EXPECT_EQ(reported.lines, Lines{c.expected}) << c.name << " " << version;
    }
  }
}

TEST(SimulatedClient, NothingIsReportedBeforeStartOrAfterTheClientIsGone) {
  VirtualEventLoop loop;
  Reported reported;
  {
    SimulatedClient client(loop, "9.0", kMember);
    client.OtherSays("Guest", "before start");
    client.Start(reported.Handler());
    client.OtherSays("Guest", "after start");
    loop.RunUntilIdle();
    client.OtherSays("Guest", "still queued when the client goes");
  }
  loop.RunUntilIdle();
  EXPECT_EQ(reported.lines, (Lines{{"Guest", "after start"}}));
}

TEST(SimulatedClient, EveryLineIsShownAsItIsSaid) {
  VirtualEventLoop loop;
  SimulatedClient client(loop, "6.0", kMember);
  Lines shown;
  std::vector<std::string> boxWhenShown;
  client.SetOnLineSaid([&](const RoomLine& line) {
    shown.push_back(line);
    boxWhenShown.push_back(client.EntryBoxText());
  });
  client.OtherSays("Guest", "hello");
  client.MemberSays("hi");
  ChatSend(client, loop, "reply");
  EXPECT_EQ(shown, (Lines{{"Guest", "hello"}, {kMember, "hi"}, {kMember, "reply"}}));
  EXPECT_EQ(shown, client.Transcript());
  EXPECT_EQ(boxWhenShown, (std::vector<std::string>{"", "", ""}));  // the box was emptied first
}

TEST(SimulatedClient, AClientThatMisbehavesIsGivenUpAtTheBound) {
  const struct {
    std::string version;
    BoxBehaviour behaviour;
    std::size_t linesSaid;
  } cases[] = {
      {"6.0", BoxBehaviour::kIgnoresEnter, 0},
      {"9.0", BoxBehaviour::kIgnoresEnter, 0},  // the box holds the line: read as taken
      {"9.0", BoxBehaviour::kEmptiesOnEnter, 1},
      {"7.0", BoxBehaviour::kEmptiesOnEnter, 1},
  };
  for (const auto& c : cases) {
    VirtualEventLoop loop;
    SimulatedClient client(loop, c.version, kMember);
    client.SetBoxBehaviour(c.behaviour);
    client.MemberTypes("hello");
    ChatSend(client, loop, "line");
    EXPECT_EQ(client.Transcript().size(), c.linesSaid) << c.version;
    EXPECT_EQ(client.EntryBoxText(), "hello") << c.version;
    EXPECT_LT(loop.Now() - 12 * 3600.0, kMaxEnterSeconds) << c.version;
  }
}

TEST(SimulatedClient, NoClientOrNoRoomDropsTheLineAndIsFoundAgainLater) {
  VirtualEventLoop loop;
  SimulatedClient client(loop, "6.0", kMember);
  const WindowHandle oldBox = FindChatInput(client);

  client.SetRunning(false);
  EXPECT_FALSE(client.Running());
  EXPECT_EQ(AolVersion(client), "9.0");
  ChatSend(client, loop, "into the void");
  client.OtherSays("Guest", "nobody hears this");
  EXPECT_TRUE(client.Transcript().empty());

  client.SetRunning(true);
  client.CloseRoom();
  EXPECT_EQ(FindChatRoom(client), kNoWindow);
  ChatSend(client, loop, "still nowhere");
  EXPECT_TRUE(client.Transcript().empty());

  client.OpenRoom();
  EXPECT_FALSE(client.SendSetText(oldBox, "stale"));
  ChatSend(client, loop, "found again");
  EXPECT_EQ(client.Transcript(), (Lines{{kMember, "found again"}}));
}

TEST(SimulatedClient, TheRoomsPeopleAreTheMemberAndEveryoneWhoSpoke) {
  VirtualEventLoop loop;
  SimulatedClient client(loop, "8.0", kMember);
  client.OtherSays("Guest", "a");
  client.MemberSays("b");
  client.OtherSays("Another", "c");
  client.OtherSays("Guest", "d");
  EXPECT_EQ(client.People(), (std::vector<std::string>{kMember, "Guest", "Another"}));
}

TEST(SimulatedClient, TypedCharactersFillTheBox) {
  VirtualEventLoop loop;
  SimulatedClient client(loop, "9.0", kMember);
  const WindowHandle box = FindChatInput7(client);
  for (const std::uint32_t c : {0x68u, 0x69u, 0x78u, 8u, 0xE9u, 0x1u}) client.SendChar(box, c);
  EXPECT_EQ(client.EntryBoxText(), "hié");  // the prompt gave way, the backspace took the x
  client.SendChar(box, 13);
  EXPECT_EQ(client.Transcript(), (Lines{{kMember, "hié"}}));
}

TEST(SimulatedClient, NothingAfterANulReachesTheRoom) {
  VirtualEventLoop loop;
  SimulatedClient client(loop, "6.0", kMember);
  ChatSend(client, loop, std::string("abc\0def", 7));
  EXPECT_EQ(client.Transcript(), (Lines{{kMember, "abc"}}));
}

TEST(SimulatedClient, OnlyKnownVersionsAreSimulated) {
  VirtualEventLoop loop;
  EXPECT_EQ(KnownClientVersions().size(), 8u);
  for (const char* bad : {"", "1.0", "9", "10.0", "6.0 "}) {
    EXPECT_FALSE(IsKnownClientVersion(bad)) << bad;
    EXPECT_THROW(SimulatedClient(loop, bad, kMember), std::invalid_argument) << bad;
  }
}

TEST(SimulatedClient, TheTranscriptKeepsTheLastLinesOfALongFlood) {
  VirtualEventLoop loop;
  SimulatedClient client(loop, "9.0", kMember);
  std::size_t said = 0;
  for (const std::size_t checkpoint : {kTranscriptLines / 2, kTranscriptLines * 2 + 7}) {
    while (said < checkpoint) client.OtherSays("flood", std::to_string(said++));
    const auto& kept = client.Transcript();
    EXPECT_GE(kept.size(), std::min(said, kTranscriptLines)) << said;
    EXPECT_LE(kept.size(), kTranscriptLines + kTranscriptLines / 4) << said;
    // The newest lines, in order and without a gap.
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.back().text, std::to_string(said - 1)) << said;
    EXPECT_EQ(kept.front().text, std::to_string(said - kept.size())) << said;
  }
}

}  // namespace
}  // namespace wavecrest::sim
