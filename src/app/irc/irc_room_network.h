#pragma once

// The chat room as one channel of an IRC network, on Qt Network. The protocol
// (registration, keepalive, pacing, formatting, who is who) is the plain
// irc::Session; this class only moves its lines over a socket, presents the
// client certificate, runs the session's clock, and reconnects when the
// connection is lost.
//
// It connects when Connect is called and from then on keeps trying: a
// connection that fails, or whose TLS handshake takes longer than 20 s, is
// made again after the session's backoff, and the channel is joined again.
// What goes wrong is said on standard error, one line each time (never the
// password).
//
// Lifetime and threading: the UI thread of the Qt application only; make it
// after the application object, and destroy it before.

#include "core/event_loop.h"
#include "host/irc/line_reader.h"
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
  std::optional<std::filesystem::path> caFile;           // trusted besides the system's store
  std::optional<std::filesystem::path> certificateFile;  // PEM certificate and key, presented in TLS
  // The answer to a private "help" (word empty) or "help WORD".
  std::function<std::string(const std::string& word)> help;
};

class IrcRoomNetwork final : public QObject, public RoomNetwork, private irc::SessionListener {
 public:
  explicit IrcRoomNetwork(IrcRoomSettings settings);
  ~IrcRoomNetwork() override;
  IrcRoomNetwork(const IrcRoomNetwork&) = delete;
  IrcRoomNetwork& operator=(const IrcRoomNetwork&) = delete;

  void Connect();

  // Lets events run until the channel is joined, `limit` has passed, or
  // `giveUp` says so. Returns whether it is joined. When it is not, the
  // join that comes later is said on standard error.
  bool WaitUntilJoined(EventLoop& loop, std::chrono::milliseconds limit, const std::function<bool()>& giveUp);

  // Leaves the network: the lines already said leave as the pacing allows,
  // and QUIT with `message` follows the last of them at once; events run
  // meanwhile. No reconnecting after.
  void Quit(const std::string& message);

  // RoomNetwork
  void SetListener(RoomNetworkListener* listener) override { listener_ = listener; }
  void Say(const std::string& line) override;
  std::uint64_t LinesQueued() const override { return linesQueued_; }
  std::uint64_t LinesSent() const override { return session_.LinesSent(); }
  bool Joined() const override { return session_.Joined(); }
  void SetAway(const std::string& reason) override { session_.SetAway(reason); }

 private:
  // irc::SessionListener
  void SendLine(const std::string& line) override;
  void OnChannelLine(const irc::ChannelLine& line) override;
  void OnPrivateLine(const irc::ChannelLine& line) override;
  void OnPeople(const std::vector<std::string>& nicks) override;
  void OnOwnNick(const std::string& nick) override;
  void OnJoined() override;
  void OnLeftChannel() override;
  void OnProblem(const std::string& text) override;
  std::string HelpText(const std::string& word) override;
  std::string LocalTime() override;
  double UnixTime() override;

  double Now() const;
  void ConfigureTls();
  void OnSocketReady();
  void OnBytes();
  void OnSocketGone();
  void OnSslErrors(const QList<QSslError>& errors);
  void OnHandshakeDeadline();
  void Close(const std::string& why);
  std::string WhyClosed() const;
  void ScheduleTick();
  void Tick();

  IrcRoomSettings settings_;
  irc::Session session_;
  irc::LineReader reader_;
  QSslSocket socket_;
  QTimer tickTimer_;
  QTimer reconnectTimer_;
  QTimer handshakeTimer_;
  QElapsedTimer clock_;
  RoomNetworkListener* listener_ = nullptr;
  std::uint64_t linesQueued_ = 0;
  bool connected_ = false;
  bool quitting_ = false;
  bool certificateDetailsSaid_ = false;
  bool sayJoin_ = false;  // start-up said it was not joined yet
  // Why we closed the socket ourselves; empty when the session has said why.
  std::optional<std::string> closeReason_;
  // The last problem said, so that a connection failing again the same way
  // at every retry says so once.
  std::string lastProblem_;
};

}  // namespace wavecrest
