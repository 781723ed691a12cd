#include "app/irc/irc_room_network.h"

#include "core/control_characters.h"
#include "core/diagnostics.h"
#include "host/irc/text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QSslConfiguration>
#include <QSslKey>

#include <algorithm>
#include <cstdio>

namespace wavecrest {
namespace {

// How long a connection may take to be ready: TCP, and TLS on top.
constexpr int kHandshakeMilliseconds = 20000;
// How long Quit waits for the QUIT to leave once it is sent, and at most in
// all however many lines are still paced before it.
constexpr int kQuitFlushMilliseconds = 2000;
constexpr double kMaxQuitSeconds = 60.0;

void Complain(const std::string& text) {
  const std::string line = "wavecrest: irc: " + WithoutControlCharacters(text) + "\n";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

std::string HostAndPort(const irc::Url& url) { return url.host + ":" + std::to_string(url.port); }

RoomLineKind KindOf(irc::LineKind kind, bool toMember) {
  switch (kind) {
    case irc::LineKind::kAction: return RoomLineKind::kAction;
    case irc::LineKind::kNotice: return toMember ? RoomLineKind::kPrivateNotice : RoomLineKind::kNotice;
    case irc::LineKind::kMessage: break;
  }
  return toMember ? RoomLineKind::kPrivateMessage : RoomLineKind::kMessage;
}

MaskCheck MaskCheckOf(irc::MaskVerdict verdict) {
  switch (verdict) {
    case irc::MaskVerdict::kMatches: return MaskCheck::kPassed;
    case irc::MaskVerdict::kFails: return MaskCheck::kFailed;
    case irc::MaskVerdict::kNoMask: break;
  }
  return MaskCheck::kNoMask;
}

NetworkLine RoomLineOf(const irc::ChannelLine& line, bool toMember) {
  const LineSource source =
      line.sender == irc::Sender::kOwnIdentity ? LineSource::kMembersOtherClient : LineSource::kRoom;
  // Whatever the server let through, no control character goes further.
  const Speaker speaker{WithoutControlCharacters(line.nick), line.account, source, MaskCheckOf(line.mask)};
  return NetworkLine{speaker, WithoutControlCharacters(line.text), irc::IrcToChatHtml(line.styled),
                     KindOf(line.kind, toMember)};
}

}  // namespace

IrcRoomNetwork::IrcRoomNetwork(IrcRoomSettings settings)
    : settings_(std::move(settings)), session_(settings_.session, *this) {
  clock_.start();
  tickTimer_.setSingleShot(true);
  tickTimer_.setTimerType(Qt::PreciseTimer);
  reconnectTimer_.setSingleShot(true);
  handshakeTimer_.setSingleShot(true);
  connect(&tickTimer_, &QTimer::timeout, this, &IrcRoomNetwork::Tick);
  connect(&reconnectTimer_, &QTimer::timeout, this, &IrcRoomNetwork::Connect);
  connect(&handshakeTimer_, &QTimer::timeout, this, &IrcRoomNetwork::OnHandshakeDeadline);
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
  if (settings_.url.tls) ConfigureTls();
}

IrcRoomNetwork::~IrcRoomNetwork() {
  quitting_ = true;
  socket_.disconnect(this);
  socket_.abort();
}

void IrcRoomNetwork::ConfigureTls() {
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  if (settings_.caFile) {
    const auto cas = QSslCertificate::fromPath(QString::fromStdString(settings_.caFile->string()));
    if (cas.isEmpty()) Complain("no certificate could be read from " + settings_.caFile->string());
    tls.addCaCertificates(cas);
  }
  if (settings_.certificateFile) {
    const QString path = QString::fromStdString(settings_.certificateFile->string());
    const auto certificates = QSslCertificate::fromPath(path);
    QFile file(path);
    const QByteArray pem = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    QSslKey key(pem, QSsl::Ec);
    if (key.isNull()) key = QSslKey(pem, QSsl::Rsa);
    if (certificates.isEmpty() || key.isNull()) {
      Complain("no certificate and key could be read from " + settings_.certificateFile->string());
    } else {
      tls.setLocalCertificate(certificates.front());
      tls.setPrivateKey(key);
    }
  }
  tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
  socket_.setSslConfiguration(tls);
}

double IrcRoomNetwork::Now() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e9; }

void IrcRoomNetwork::Connect() {
  if (quitting_ || socket_.state() != QAbstractSocket::UnconnectedState) return;
  reader_.Reset();
  closeReason_.reset();
  certificateDetailsSaid_ = false;
  handshakeTimer_.start(kHandshakeMilliseconds);
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
  sayJoin_ = !Joined();
  return Joined();
}

void IrcRoomNetwork::Quit(const std::string& message) {
  if (quitting_) return;
  quitting_ = true;  // the disconnect that follows is ours: no reconnecting
  reconnectTimer_.stop();
  handshakeTimer_.stop();
  if (connected_) {
    session_.Quit(message, Now());
    ScheduleTick();
    const double waiting = static_cast<double>(linesQueued_ - std::min(linesQueued_, session_.LinesSent()));
    const double deadline = Now() + std::min(kMaxQuitSeconds, 5.0 + waiting);
    while (connected_ && !session_.QuitSent() && Now() < deadline) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    socket_.flush();
    socket_.waitForBytesWritten(kQuitFlushMilliseconds);
    // The server closes once it has read the QUIT; closing first could make
    // it drop what it had not read yet.
    if (socket_.state() == QAbstractSocket::ConnectedState) socket_.waitForDisconnected(kQuitFlushMilliseconds);
    socket_.disconnectFromHost();
  }
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
  handshakeTimer_.stop();
  connected_ = true;
  lastProblem_.clear();
  Diagnose("connected to " + HostAndPort(settings_.url));
  session_.OnConnected(Now());
  ScheduleTick();
}

void IrcRoomNetwork::OnBytes() {
  const QByteArray bytes = socket_.readAll();
  for (const std::string& line : reader_.Append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
    session_.OnLineReceived(line, Now());
    if (!connected_) return;
  }
  ScheduleTick();
}

void IrcRoomNetwork::OnHandshakeDeadline() {
  Close(settings_.url.tls ? "the TLS handshake did not finish within 20 s; the port may not speak TLS"
                          : "no connection within 20 s");
}

// Ends this connection; the reconnect follows (or nothing, when quitting).
void IrcRoomNetwork::Close(const std::string& why) {
  closeReason_ = why;
  socket_.abort();
  OnSocketGone();  // unless the abort has already told it
}

std::string IrcRoomNetwork::WhyClosed() const {
  if (closeReason_) return *closeReason_;
  switch (socket_.error()) {
    case QAbstractSocket::RemoteHostClosedError: return "the server closed the connection";
    case QAbstractSocket::UnknownSocketError: return "the connection ended";
    case QAbstractSocket::SslHandshakeFailedError:
      if (!certificateDetailsSaid_) return socket_.errorString().toStdString() + "; the port may not speak TLS";
      break;
    default: break;
  }
  return socket_.errorString().toStdString();
}

// Whatever ended the connection (the server, the network, a deadline, our
// own keepalive), the session starts afresh and the network is tried again.
void IrcRoomNetwork::OnSocketGone() {
  if (reconnectTimer_.isActive()) return;  // told twice (error, then disconnected)
  handshakeTimer_.stop();
  const bool wasConnected = connected_;
  connected_ = false;
  tickTimer_.stop();
  if (wasConnected) session_.OnDisconnected(Now());
  if (quitting_) return;
  const double delay = session_.ReconnectDelay();
  const std::string why = WhyClosed();
  OnProblem((wasConnected ? "connection to " : "cannot connect to ") + HostAndPort(settings_.url) +
            (why.empty() ? " ended" : " (" + why + ")") + "; trying again in " +
            std::to_string(static_cast<int>(delay)) + " s");
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
    return Close("");  // the session has said why
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

void IrcRoomNetwork::OnChannelLine(const irc::ChannelLine& line) {
  if (listener_ != nullptr) listener_->OnNetworkLine(RoomLineOf(line, false));
}

void IrcRoomNetwork::OnPrivateLine(const irc::ChannelLine& line) {
  if (listener_ != nullptr) listener_->OnNetworkLine(RoomLineOf(line, true));
}

void IrcRoomNetwork::OnPeople(const std::vector<std::string>& nicks) {
  if (listener_ != nullptr) listener_->OnNetworkPeople(nicks);
}

void IrcRoomNetwork::OnOwnNick(const std::string& nick) {
  if (listener_ != nullptr) listener_->OnNetworkNick(nick);
}

void IrcRoomNetwork::OnJoined() {
  const std::string joined = "joined " + settings_.url.channel + " as " + session_.Nick();
  if (sayJoin_) Complain(joined);
  else Diagnose(joined);
  sayJoin_ = false;
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

std::string IrcRoomNetwork::HelpText(const std::string& word) { return settings_.help ? settings_.help(word) : std::string(); }

double IrcRoomNetwork::UnixTime() { return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0; }

std::string IrcRoomNetwork::LocalTime() {
  return QLocale::c().toString(QDateTime::currentDateTime(), "ddd MMM dd HH:mm:ss yyyy").toStdString();
}

}  // namespace wavecrest
