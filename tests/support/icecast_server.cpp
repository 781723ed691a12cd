#include "support/icecast_server.h"

#include "support/irc_server.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace wavecrest::testing {
namespace {

const char* const kIcecast = "/usr/bin/icecast2";
const char* const kShare = "/usr/share/icecast2";

std::string RandomWord(std::string_view prefix) {
  std::random_device random;
  return std::string(prefix) + std::to_string(random() % 1000000000u);
}

int ConnectLoopback(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (fd >= 0) ::close(fd);
    return -1;
  }
  return fd;
}

// Wakes the waits five times a second, so a condition that only a question
// to a server can tell is asked often enough.
class Ticker : public WaitSource {
 public:
  Ticker() : fd_(::timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {
    const itimerspec every{{0, 200'000'000}, {0, 200'000'000}};
    ::timerfd_settime(fd_, 0, &every, nullptr);
  }
  ~Ticker() override { ::close(fd_); }
  std::vector<int> WaitFds() const override { return {fd_}; }
  void OnReadable(int) override {
    std::uint64_t expirations = 0;
    (void)!::read(fd_, &expirations, sizeof expirations);
  }

 private:
  int fd_;
};

std::optional<MountStats> FindMount(const QJsonValue& sources, const std::string& listenUrl) {
  const QJsonArray all = sources.isArray() ? sources.toArray() : QJsonArray{sources};
  for (const auto& value : all) {
    const QJsonObject source = value.toObject();
    if (source.value("listenurl").toString().toStdString() != listenUrl) continue;
    // The statistics turn a title that looks like a number into a number.
    const QJsonValue title = source.value("title");
    return MountStats{source.value("listeners").toInt(),
                      title.isDouble() ? QByteArray::number(title.toDouble()).toStdString()
                                       : title.toString().toStdString()};
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> HttpGet(std::uint16_t port, const std::string& path, const std::string& credentials) {
  const int fd = ConnectLoopback(port);
  if (fd < 0) return std::nullopt;
  const timeval limit{5, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n";
  if (!credentials.empty()) {
    request += "Authorization: Basic " + QByteArray::fromStdString(credentials).toBase64().toStdString() + "\r\n";
  }
  request += "\r\n";
  std::string reply;
  if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
    char buffer[16384];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  const auto bodyAt = reply.find("\r\n\r\n");
  if (bodyAt == std::string::npos || reply.rfind("HTTP/1.", 0) != 0 || reply.compare(8, 5, " 200 ") != 0) {
    return std::nullopt;
  }
  return reply.substr(bodyAt + 4);
}

IcecastServer::IcecastServer() { Prepare(); }

IcecastServer::IcecastServer(const IcecastServer& master, std::string_view mount)
    : relay_(RelayOf{master.Port(), std::string(mount)}) {
  Prepare();
}

void IcecastServer::Prepare() {
  namespace fs = std::filesystem;
  fs::permissions(tree_.Root(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(tree_.Dir("log"), fs::perms::all);
  sourcePassword_ = RandomWord("src-");
  adminPassword_ = RandomWord("adm-");
  // A port taken between asking and binding: try others.
  for (int attempt = 0; attempt < 3; ++attempt) {
    port_ = FreePort();
    Configure();
    if (TryStart()) return;
  }
  throw std::runtime_error("icecast2 did not start: " + Log());
}

// Its orderly shutdown takes a second or two of threads winding down, and
// nothing it leaves behind outlives the temporary directory.
IcecastServer::~IcecastServer() {
  if (process_) Kill();
}

void IcecastServer::Configure() {
  std::ofstream config(tree_.Path("icecast.xml"));
  config << "<icecast>\n<location>test</location><admin>test@test</admin><hostname>127.0.0.1</hostname>\n"
         << "<limits><clients>100</clients><sources>8</sources><queue-size>524288</queue-size>"
         << "<client-timeout>30</client-timeout><header-timeout>15</header-timeout>"
         << "<source-timeout>10</source-timeout><burst-on-connect>1</burst-on-connect>"
         << "<burst-size>" << kBurstBytes << "</burst-size></limits>\n"
         << "<authentication><source-password>" << sourcePassword_ << "</source-password>"
         << "<admin-user>admin</admin-user><admin-password>" << adminPassword_ << "</admin-password>"
         << "</authentication>\n"
         << "<listen-socket><port>" << port_ << "</port><bind-address>127.0.0.1</bind-address></listen-socket>\n"
         << "<fileserve>1</fileserve>\n"
         // Titles reach players in UTF-8, as sources send them, not in Latin-1.
         << "<mount type=\"default\"><charset>UTF-8</charset></mount>\n"
         << "<paths><basedir>" << kShare << "</basedir><logdir>" << tree_.Path("log") << "</logdir>"
         << "<webroot>" << kShare << "/web</webroot><adminroot>" << kShare << "/admin</adminroot>"
         << "<pidfile>" << tree_.Path("log/icecast.pid") << "</pidfile></paths>\n"
         // The error log on standard error: its start line tells that the port is bound.
         << "<logging><accesslog>access.log</accesslog><errorlog>-</errorlog><loglevel>3</loglevel></logging>\n";
  if (relay_) {
    config << "<relay><server>127.0.0.1</server><port>" << relay_->port << "</port><mount>" << relay_->mount
           << "</mount><local-mount>" << relay_->mount << "</local-mount><on-demand>0</on-demand>"
           << "<relay-shoutcast-metadata>1</relay-shoutcast-metadata></relay>\n";
  }
  if (::geteuid() == 0) {
    config << "<security><chroot>0</chroot><changeowner><user>nobody</user><group>nogroup</group>"
           << "</changeowner></security>\n";
  }
  config << "</icecast>\n";
}

bool IcecastServer::TryStart() {
  process_ = std::make_unique<ChildProcess>(std::vector<std::string>{kIcecast, "-c", tree_.Path("icecast.xml")});
  const auto started = [&] { return process_->Err().find("server started") != std::string::npos || !Running(); };
  if (!WaitUntil(started, 15) || !Running()) return false;
  // Bound and listening by now, but its first answers may still fail while
  // its threads start: ready when it answers with its statistics.
  const Ticker ticker;
  return WaitUntil([&] { return !Running() || HttpGet(port_, "/status-json.xsl"); }, 15) && Running();
}

void IcecastServer::Kill() {
  process_->Signal(SIGKILL);
  process_->Exit(5);
}

void IcecastServer::Start() {
  if (!TryStart()) throw std::runtime_error("icecast2 did not start again: " + Log());
}

std::string IcecastServer::ListenUrl(std::string_view mount) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(mount);
}

std::optional<MountStats> IcecastServer::Mount(std::string_view mount) const {
  const auto body = HttpGet(port_, "/status-json.xsl");
  if (!body) return std::nullopt;
  const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(*body));
  return FindMount(document.object().value("icestats").toObject().value("source"), ListenUrl(mount));
}

std::optional<MountStats> AwaitMount(const IcecastServer& server, std::string_view mount,
                                     const std::function<bool(const MountStats&)>& ready, double seconds) {
  const Ticker ticker;
  std::optional<MountStats> last;
  WaitUntil(
      [&] {
        last = server.Mount(mount);
        return last && ready(*last);
      },
      seconds);
  return last;
}

}  // namespace wavecrest::testing
