#pragma once

// The chat room as one channel of an IRC network, on Qt Network. The protocol
// (registration, keepalive, pacing, formatting, who is who) is the plain
// irc::Session; this class only moves its lines over a socket, runs its
// clock, and reconnects when the connection is lost.
//
// It connects when Connect is called and from then on keeps trying: a lost
// connection is made again after the session's backoff, and the channel is
// joined again. What goes wrong is said on standard error, one line each
// time (never the password).
//
// Lifetime and threading: the UI thread of the Qt application only; make it
// after the application object, and destroy it before.

#include "core/event_loop.h"
#include "host/irc/session.h"
#include "host/irc/url.h"
#include "host/room_network.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSslSocket>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace wavecrest {

struct IrcRoomSettings {
  irc::Url url;
  irc::SessionConfig session;
  std::optional<std::filesystem::path> caFile;  // trusted besides the system's store
};

class IrcRoomNetwork final : public QObject, public RoomNetwork, private irc::SessionListener {
 public:
  explicit IrcRoomNetwork(IrcRoomSettings settings);
  ~IrcRoomNetwork() override;
  IrcRoomNetwork(const IrcRoomNetwork&) = delete;
  IrcRoomNetwork& operator=(const IrcRoomNetwork&) = delete;

  void Connect();

  // Lets events run until the channel is joined, `limit` has passed, or
  // `giveUp` says so. Returns whether it is joined.
  bool WaitUntilJoined(EventLoop& loop, std::chrono::milliseconds limit, const std::function<bool()>& giveUp);

  // Leaves the network: QUIT with `message` after the lines already said,
  // waiting a moment (events running) for them to go. No reconnecting after.
  void Quit(const std::string& message);

  // RoomNetwork
  void SetListener(RoomNetworkListener* listener) override { listener_ = listener; }
  void Say(const std::string& line) override;
  std::uint64_t LinesQueued() const override { return linesQueued_; }
  std::uint64_t LinesSent() const override { return session_.LinesSent(); }
  bool Joined() const override { return session_.Joined(); }

 private:
  // irc::SessionListener
  void SendLine(const std::string& line) override;
  void OnChannelLine(const std::string& speaker, const std::string& text, const std::string& styled,
                     irc::LineKind kind, bool trusted) override;
  void OnPeople(const std::vector<std::string>& nicks) override;
  void OnOwnNick(const std::string& nick) override;
  void OnJoined() override;
  void OnLeftChannel() override;
  void OnProblem(const std::string& text) override;

  double Now() const;
  void OnSocketReady();
  void OnBytes();
  void OnSocketGone();
  void OnSslErrors(const QList<QSslError>& errors);
  void ScheduleTick();
  void Tick();

  IrcRoomSettings settings_;
  irc::Session session_;
  QSslSocket socket_;
  QTimer tickTimer_;
  QTimer reconnectTimer_;
  QElapsedTimer clock_;
  std::string unsplit_;
  RoomNetworkListener* listener_ = nullptr;
  std::uint64_t linesQueued_ = 0;
  bool connected_ = false;
  bool quitting_ = false;
  bool certificateDetailsSaid_ = false;
  // The last problem said, so that a connection failing again the same way
  // at every retry says so once.
  std::string lastProblem_;
};

}  // namespace wavecrest
