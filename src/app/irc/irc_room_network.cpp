#include "app/irc/irc_room_network.h"

#include "core/control_characters.h"
#include "core/diagnostics.h"

#include <QSslConfiguration>

#include <algorithm>
#include <cstdio>

namespace wavecrest {
namespace {

// A server line is at most 512 bytes, 8191 with message tags; anything
// longer is not a line of this protocol and is dropped rather than held.
constexpr std::size_t kMaxServerLineBytes = 16 * 1024;
// How long Quit waits for the last lines and the QUIT to leave.
constexpr int kQuitFlushMilliseconds = 2000;

void Complain(const std::string& text) {
  const std::string line = "wavecrest: irc: " + WithoutControlCharacters(text) + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

std::string HostAndPort(const irc::Url& url) { return url.host + ":" + std::to_string(url.port); }

RoomLineKind KindOf(irc::LineKind kind) {
  switch (kind) {
    case irc::LineKind::kAction: return RoomLineKind::kAction;
    case irc::LineKind::kNotice: return RoomLineKind::kNotice;
    case irc::LineKind::kMessage: break;
  }
  return RoomLineKind::kMessage;
}

}  // namespace

IrcRoomNetwork::IrcRoomNetwork(IrcRoomSettings settings)
    : settings_(std::move(settings)), session_(settings_.session, *this) {
  clock_.start();
  tickTimer_.setSingleShot(true);
  tickTimer_.setTimerType(Qt::PreciseTimer);
  reconnectTimer_.setSingleShot(true);
  connect(&tickTimer_, &QTimer::timeout, this, &IrcRoomNetwork::Tick);
  connect(&reconnectTimer_, &QTimer::timeout, this, &IrcRoomNetwork::Connect);
  connect(&socket_, &QSslSocket::connected, this, [this] {
    if (!settings_.url.tls) OnSocketReady();
  });
  connect(&socket_, &QSslSocket::encrypted, this, &IrcRoomNetwork::OnSocketReady);
  connect(&socket_, &QSslSocket::readyRead, this, &IrcRoomNetwork::OnBytes);
  connect(&socket_, &QSslSocket::disconnected, this, &IrcRoomNetwork::OnSocketGone);
  connect(&socket_, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
    if (socket_.state() == QAbstractSocket::UnconnectedState) OnSocketGone();
  });
  connect(&socket_, &QSslSocket::sslErrors, this, &IrcRoomNetwork::OnSslErrors);

  if (settings_.url.tls) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (settings_.caFile) {
      const auto cas = QSslCertificate::fromPath(QString::fromStdString(settings_.caFile->string()));
      if (cas.isEmpty()) Complain("no certificate could be read from " + settings_.caFile->string());
      tls.addCaCertificates(cas);
    }
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    socket_.setSslConfiguration(tls);
  }
}

IrcRoomNetwork::~IrcRoomNetwork() {
  quitting_ = true;
  socket_.disconnect(this);
  socket_.abort();
}

double IrcRoomNetwork::Now() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e9; }

void IrcRoomNetwork::Connect() {
  if (quitting_ || socket_.state() != QAbstractSocket::UnconnectedState) return;
  unsplit_.clear();
  const QString host = QString::fromStdString(settings_.url.host);
  if (settings_.url.tls) {
    socket_.connectToHostEncrypted(host, settings_.url.port);
  } else {
    socket_.connectToHost(host, settings_.url.port);
  }
}

bool IrcRoomNetwork::WaitUntilJoined(EventLoop& loop, std::chrono::milliseconds limit,
                                     const std::function<bool()>& giveUp) {
  const double deadline = Now() + static_cast<double>(limit.count()) / 1000.0;
  while (!Joined() && !quitting_ && !giveUp()) {
    const double left = deadline - Now();
    if (left <= 0) break;
    loop.PumpOnce(std::chrono::milliseconds(static_cast<long>(left * 1000.0) + 1));
  }
  return Joined();
}

void IrcRoomNetwork::Quit(const std::string& message) {
  if (quitting_) return;
  reconnectTimer_.stop();
  if (connected_) {
    quitting_ = true;  // the disconnect that follows is ours: no reconnecting
    session_.Quit(message, Now());
    socket_.flush();
    socket_.waitForBytesWritten(kQuitFlushMilliseconds);
    socket_.disconnectFromHost();
    if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.waitForDisconnected(kQuitFlushMilliseconds);
  }
  quitting_ = true;
  socket_.abort();
}

void IrcRoomNetwork::Say(const std::string& line) {
  const std::uint64_t ticket = session_.Say(line, Now());
  if (ticket == 0) {
    Diagnose("not in " + settings_.url.channel + " on " + HostAndPort(settings_.url) + ": a line was dropped");
    return;
  }
  linesQueued_ = std::max(linesQueued_, ticket);
  ScheduleTick();
}


void IrcRoomNetwork::OnSocketReady() {
  connected_ = true;
  lastProblem_.clear();
  Diagnose("connected to " + HostAndPort(settings_.url));
  session_.OnConnected(Now());
  ScheduleTick();
}

void IrcRoomNetwork::OnBytes() {
  const QByteArray bytes = socket_.readAll();
  unsplit_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  std::size_t start = 0;
  for (std::size_t nl; (nl = unsplit_.find('\n', start)) != std::string::npos; start = nl + 1) {
    std::string_view line(unsplit_.data() + start, nl - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && line.size() <= kMaxServerLineBytes) session_.OnLineReceived(line, Now());
    if (quitting_) return;
  }
  unsplit_.erase(0, start);
  if (unsplit_.size() > kMaxServerLineBytes) unsplit_.clear();
  ScheduleTick();
}

// Whatever ended the connection (the server, the network, our own
// keepalive), the session starts afresh and the network is tried again.
void IrcRoomNetwork::OnSocketGone() {
  if (reconnectTimer_.isActive()) return;  // told twice (error, then disconnected)
  const bool wasConnected = connected_;
  connected_ = false;
  tickTimer_.stop();
  if (wasConnected) session_.OnDisconnected(Now());
  if (quitting_) return;
  const double delay = session_.ReconnectDelay();
  const std::string why = socket_.errorString().toStdString();
  OnProblem((wasConnected ? "connection to " : "cannot connect to ") + HostAndPort(settings_.url) + " (" + why +
            "); trying again in " + std::to_string(static_cast<int>(delay)) + " s");
  reconnectTimer_.start(static_cast<int>(delay * 1000.0));
}

void IrcRoomNetwork::OnSslErrors(const QList<QSslError>& errors) {
  // The connection is refused (nothing is ignored); the reason is told with
  // the failed connection, and the details once.
  if (certificateDetailsSaid_) return;
  certificateDetailsSaid_ = true;
  std::string why;
  for (const QSslError& error : errors) why += (why.empty() ? "" : "; ") + error.errorString().toStdString();
  OnProblem("the certificate of " + HostAndPort(settings_.url) + " is not trusted: " + why +
            (settings_.caFile ? "" : " (--irc-ca FILE trusts a private CA)"));
}

void IrcRoomNetwork::ScheduleTick() {
  if (!connected_) return;
  const double wait = std::max(0.0, session_.NextWakeup(Now()));
  tickTimer_.start(static_cast<int>(std::min(wait, 3600.0) * 1000.0) + 1);
}

void IrcRoomNetwork::Tick() {
  if (!connected_) return;
  if (session_.OnTick(Now()) == irc::SessionAction::kReconnect) {
    socket_.abort();  // disconnected follows, and with it the reconnect
    return;
  }
  ScheduleTick();
}

// --- irc::SessionListener ----------------------------------------------------

void IrcRoomNetwork::SendLine(const std::string& line) {
  if (!connected_) return;
  std::string out = line;
  out += "\r\n";
  socket_.write(out.data(), static_cast<qint64>(out.size()));
  // Out now, not when the loop next looks at the socket: a line said just
  // before a long handler would otherwise wait for that handler.
  socket_.flush();
}

void IrcRoomNetwork::OnChannelLine(const std::string& speaker, const std::string& text, const std::string& styled,
                                   irc::LineKind kind, bool trusted) {
  if (listener_ == nullptr) return;
  // Whatever the server let through, no control character goes further.
  listener_->OnNetworkLine(NetworkLine{WithoutControlCharacters(speaker), WithoutControlCharacters(text), styled,
                                       KindOf(kind), trusted ? SpeakerTrust::kVerified : SpeakerTrust::kUnverified});
}

void IrcRoomNetwork::OnPeople(const std::vector<std::string>& nicks) {
  if (listener_ != nullptr) listener_->OnNetworkPeople(nicks);
}

void IrcRoomNetwork::OnOwnNick(const std::string& nick) {
  if (listener_ != nullptr) listener_->OnNetworkNick(nick);
}

void IrcRoomNetwork::OnJoined() {
  Diagnose("joined " + settings_.url.channel + " as " + session_.Nick());
  if (listener_ != nullptr) listener_->OnNetworkJoined(true);
}

void IrcRoomNetwork::OnLeftChannel() {
  if (listener_ != nullptr) listener_->OnNetworkJoined(false);
}

void IrcRoomNetwork::OnProblem(const std::string& text) {
  if (text == lastProblem_) return;
  lastProblem_ = text;
  Complain(text);
}

}  // namespace wavecrest
