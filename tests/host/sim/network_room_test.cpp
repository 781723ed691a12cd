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
  std::vector<std::pair<std::string, std::string>> reported;

  ChannelRoom() {
    client.SetNetwork(&network);
    client.Start([this](const std::string& speaker, const std::string& text) { reported.emplace_back(speaker, text); });
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
  EXPECT_EQ(room.reported[0], (std::pair<std::string, std::string>{"dj", "p tide"}));
}

TEST(NetworkRoom, ChannelLinesReachTheScannerOnlyAsOrdinaryLinesOfVerifiedSpeakers) {
  const struct {
    RoomLineKind kind;
    SpeakerTrust trust;
    std::optional<std::string> reportedAs;
  } cases[] = {
      {RoomLineKind::kMessage, SpeakerTrust::kVerified, "owner"},
      {RoomLineKind::kMessage, SpeakerTrust::kUnverified, "owner!unverified"},
      {RoomLineKind::kAction, SpeakerTrust::kVerified, std::nullopt},
      {RoomLineKind::kNotice, SpeakerTrust::kVerified, std::nullopt},
  };
  for (const auto& c : cases) {
    ChannelRoom room;
    room.network.Join(true);
    room.network.Listener().OnNetworkLine(NetworkLine{"owner", "p x", "<b>p</b> x", c.kind, c.trust});
    room.loop.RunUntilIdle();
    ASSERT_FALSE(room.client.Transcript().empty());
    EXPECT_EQ(room.client.Transcript().back(), (RoomLine{"owner", "p x", c.kind, "<b>p</b> x"}));
    if (c.reportedAs) {
      ASSERT_EQ(room.reported.size(), 1u);
      EXPECT_EQ(room.reported[0].first, *c.reportedAs);
    } else {
      EXPECT_TRUE(room.reported.empty());
    }
  }
}

TEST(NetworkRoom, PeopleAndTheMembersNameFollowTheNetwork) {
  ChannelRoom room;
  room.network.Join(true);
  room.network.Listener().OnNetworkPeople({"dj_", "owner", "guest"});
  room.network.Listener().OnNetworkNick("dj_");
  room.client.MemberSays("song");
  EXPECT_EQ(room.client.People(), (std::vector<std::string>{"dj_", "owner", "guest"}));
  EXPECT_EQ(room.client.Transcript().back().speaker, "dj_");
}

// A burst of lines: each ChatSend returns once its line has left, lines
// said inside another's wait leave after it, and nothing is lost.
TEST(NetworkRoom, ChatSendWaitsForItsTurnAndLinesKeepTheirOrder) {
  ChannelRoom room;
  HostChatClient chat(room.client, room.loop);
  chat.SetNetwork(&room.network);
  room.network.Join(true);
  int nested = 0;
  room.loop.Post([&] {
    chat.ChatSend("second");
    ++nested;
  });
  chat.ChatSend("first");
  EXPECT_EQ(nested, 1);
  chat.ChatSend("third");
  EXPECT_EQ(room.network.sent, (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_TRUE(room.network.waiting.empty());
}

}  // namespace
}  // namespace wavecrest::sim
