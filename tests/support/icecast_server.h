#pragma once

// A real Icecast 2 server for end-to-end tests: icecast2 run in the
// foreground on a free loopback port, from a configuration written into a
// temporary directory (passwords, limits, the web root that serves the public
// statistics, logs on standard error). Started as root it drops to "nobody",
// so that directory is open to all and its log directory writable by all.
// Stopped by its PID. A second server may relay a mount of the first, as
// listeners outgrowing one server would be served.

#include "support/child_process.h"
#include "support/temp_tree.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace wavecrest::testing {

// One mount as the server's public statistics show it.
struct MountStats {
  int listeners = 0;
  std::string title;  // empty when none was set
};

class IcecastServer {
 public:
  // How much a new listener is sent at once from the past: the most a
  // listener's ears may lag behind the source.
  static constexpr int kBurstBytes = 65536;

  IcecastServer();  // configures and starts; throws when the server will not start
  // A server relaying `mount` of `master` under the same name, always on.
  // Icecast gives up on a relay whose mount was missing when it first asked,
  // so make it once the master carries the mount.
  IcecastServer(const IcecastServer& master, std::string_view mount);
  ~IcecastServer();
  IcecastServer(const IcecastServer&) = delete;
  IcecastServer& operator=(const IcecastServer&) = delete;

  void Kill();   // SIGKILL: sources and listeners drop as when a server dies
  void Start();  // again, on the same port

  std::uint16_t Port() const { return port_; }
  const std::string& SourcePassword() const { return sourcePassword_; }
  std::string ListenUrl(std::string_view mount) const;
  bool Running() const { return process_ && process_->Running(); }
  // What the server has said so far (its log), for failure messages.
  std::string Log() const { return process_ ? process_->Err() : std::string(); }

  // The mount's statistics; nullopt while no source feeds it, or when the
  // server does not answer.
  std::optional<MountStats> Mount(std::string_view mount) const;

 private:
  struct RelayOf {
    std::uint16_t port;
    std::string mount;
  };
  void Prepare();
  void Configure();
  bool TryStart();

  TempTree tree_;
  std::optional<RelayOf> relay_;
  std::uint16_t port_ = 0;
  std::string sourcePassword_;
  std::string adminPassword_;
  std::unique_ptr<ChildProcess> process_;
};

// The body of a plain HTTP GET of `path` on 127.0.0.1:port, with basic
// authorization when `credentials` ("user:password") are given; nullopt
// unless the server answers 200 within a few seconds.
std::optional<std::string> HttpGet(std::uint16_t port, const std::string& path, const std::string& credentials = {});

// Asks the server about `mount` five times a second (other sources keep being
// read meanwhile) until `ready` accepts its statistics or `seconds` have
// passed; answers the last statistics seen, whether accepted or not.
std::optional<MountStats> AwaitMount(const IcecastServer& server, std::string_view mount,
                                     const std::function<bool(const MountStats&)>& ready, double seconds);

}  // namespace wavecrest::testing
