// The simulated client's room as a channel of a network: what the member
// says goes out, what the channel says comes in, and out of the channel the
// room is closed.
#include "host/chat_send.h"
#include "host/discovery.h"
#include "host/sim/simulated_client.h"
#include "support/virtual_event_loop.h"

#include <gtest/gtest.h>

#include <optional>

namespace wavecrest::sim {
namespace {

using testing::VirtualEventLoop;

// A network that paces its lines: each one leaves `secondsPerLine` after the
// one before it, on the loop's clock.
class PacedNetwork final : public RoomNetwork {
 public:
  PacedNetwork(VirtualEventLoop& loop, double secondsPerLine) : loop_(loop), seconds_(secondsPerLine) {}

  void SetListener(RoomNetworkListener* listener) override { listener_ = listener; }
  void Say(const std::string& line) override {
    if (!joined_) return;
    waiting.push_back(line);
    ++queued_;
    if (!timer_) {
      timer_ = loop_.CreateTimer(std::chrono::milliseconds(static_cast<int>(seconds_ * 1000)), [this] { Release(); });
    }
    timer_->SetEnabled(true);
  }
  std::uint64_t LinesQueued() const override { return queued_; }
  std::uint64_t LinesSent() const override { return queued_ - waiting.size(); }
  bool Joined() const override { return joined_; }
  void SetAway(const std::string& reason) override { away = reason; }
  std::string away;

  void Join(bool joined) {
    joined_ = joined;
    listener_->OnNetworkJoined(joined);
  }
  RoomNetworkListener& Listener() { return *listener_; }

  std::vector<std::string> waiting, sent;

 private:
  void Release() {
    if (waiting.empty()) return timer_->SetEnabled(false);
    sent.push_back(waiting.front());
    waiting.erase(waiting.begin());
  }

  VirtualEventLoop& loop_;
  double seconds_;
  RoomNetworkListener* listener_ = nullptr;
  std::unique_ptr<Timer> timer_;
  std::uint64_t queued_ = 0;
  bool joined_ = false;
};

struct ChannelRoom {
  VirtualEventLoop loop;
  PacedNetwork network{loop, 1.0};
  SimulatedClient client{loop, "9.0", "dj"};
  std::vector<std::pair<Speaker, std::string>> reported;

  ChannelRoom() {
    client.SetNetwork(&network);
    client.Start([this](const Speaker& speaker, const std::string& text) { reported.emplace_back(speaker, text); });
  }
};

TEST(NetworkRoom, TheRoomStandsOpenOnlyWhileTheMemberIsInTheChannel) {
  ChannelRoom room;
  EXPECT_EQ(FindChatRoom(room.client), kNoWindow);
  room.client.MemberSays("p echo");
  room.network.Join(true);
  EXPECT_NE(FindChatRoom(room.client), kNoWindow);
  room.client.MemberSays("p tide");
  room.network.Join(false);
  room.client.MemberSays("next");
  room.loop.RunUntilIdle();

  // Only the line said in the channel went out, and the room heard only it.
  EXPECT_EQ(room.network.waiting, std::vector<std::string>{"p tide"});
  ASSERT_EQ(room.reported.size(), 1u);
  EXPECT_EQ(room.reported[0], (std::pair<Speaker, std::string>{{"dj", std::nullopt, LineSource::kTypedHere}, "p tide"}));
}

// Ordinary lines reach the scanner with who said them as the network
// vouches; the member's own identity on another client under the member's
// screen name, shown under the member's name in the room; actions, notices
// and private lines are only shown.
TEST(NetworkRoom, ChannelLinesReachTheScannerOnlyAsOrdinaryLinesWithTheirSpeaker) {
  const Speaker owner{"owner", "owneraccount", LineSource::kRoom, MaskCheck::kFailed};
  const Speaker own{"dj_", std::nullopt, LineSource::kMembersOtherClient};
  const struct {
    RoomLineKind kind;
    Speaker speaker;
    std::string shownAs;
    std::optional<Speaker> reportedAs;
  } cases[] = {
      {RoomLineKind::kMessage, owner, "owner", owner},
      {RoomLineKind::kMessage, own, "dj_", Speaker{"dj", std::nullopt, LineSource::kMembersOtherClient}},
      {RoomLineKind::kAction, owner, "owner", std::nullopt},
      {RoomLineKind::kNotice, owner, "owner", std::nullopt},
      {RoomLineKind::kPrivateMessage, owner, "owner", std::nullopt},
      {RoomLineKind::kPrivateNotice, owner, "owner", std::nullopt},
  };
  for (const auto& c : cases) {
    ChannelRoom room;
    room.network.Join(true);
    room.network.Listener().OnNetworkNick("dj_");
    room.network.Listener().OnNetworkLine(NetworkLine{c.speaker, "p x", "<b>p</b> x", c.kind});
    room.loop.RunUntilIdle();
    ASSERT_FALSE(room.client.Transcript().empty());
    EXPECT_EQ(room.client.Transcript().back(), (RoomLine{c.shownAs, "p x", c.kind, "<b>p</b> x"}));
    if (c.reportedAs) {
      ASSERT_EQ(room.reported.size(), 1u);
      EXPECT_EQ(room.reported[0].first, *c.reportedAs);
    } else {
      EXPECT_TRUE(room.reported.empty());
    }
  }
}

// The network's name for the member is what the room shows; the member's
// typed lines are still the member's, under the screen name, whatever the
// network calls them; the away reason goes to the network.
TEST(NetworkRoom, PeopleAndTheMembersNameInTheRoomFollowTheNetwork) {
  ChannelRoom room;
  HostChatClient chat(room.client, room.loop);
  chat.SetNetwork(&room.network);
  room.network.Join(true);
  room.network.Listener().OnNetworkPeople({"dj_", "owner", "guest"});
  room.network.Listener().OnNetworkNick("dj_");
  room.client.MemberSays("song");
  room.loop.RunUntilIdle();
  EXPECT_EQ(room.client.People(), (std::vector<std::string>{"dj_", "owner", "guest"}));
  EXPECT_EQ(room.client.Transcript().back().speaker, "dj_");
  ASSERT_EQ(room.reported.size(), 1u);
  EXPECT_EQ(room.reported[0].first, (Speaker{"dj", std::nullopt, LineSource::kTypedHere}));
  chat.SetAway("lunch");
  EXPECT_EQ(room.network.away, "lunch");
}

// A burst of lines: AwaitTurn returns once the lines said so far have left,
// lines said inside another's wait leave after it, and nothing is lost.
TEST(NetworkRoom, AwaitTurnReturnsOnceTheLinesSaidHaveLeftInOrder) {
  ChannelRoom room;
  HostChatClient chat(room.client, room.loop);
  chat.SetNetwork(&room.network);
  room.network.Join(true);
  int nested = 0;
  const auto say = [&](const std::string& line) {
    chat.ChatSend(line);
    chat.AwaitTurn();
  };
  room.loop.Post([&] {
    say("second");
    ++nested;
  });
  say("first");
  EXPECT_EQ(nested, 1);
  say("third");
  EXPECT_EQ(room.network.sent, (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_TRUE(room.network.waiting.empty());
}

// Once the program is ending, a line said waits for no turn: whatever is
// nested unwinds at once, and the lines said go on waiting in the network,
// which sends them as it leaves.
TEST(NetworkRoom, OnceTheProgramIsEndingALineWaitsForNoTurn) {
  ChannelRoom room;
  HostChatClient chat(room.client, room.loop);
  chat.SetNetwork(&room.network);
  room.network.Join(true);
  room.loop.EndWaits();
  const double start = room.loop.Now();
  for (const char* line : {"first", "second"}) {
    chat.ChatSend(line);
    chat.AwaitTurn();
  }
  EXPECT_EQ(room.loop.Now(), start);
  EXPECT_EQ(room.network.waiting, (std::vector<std::string>{"first", "second"}));
}

}  // namespace
}  // namespace wavecrest::sim
