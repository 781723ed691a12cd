#pragma once

// One source connection to an Icecast mount through libshout, without
// blocking: a connection is begun, then driven on each turn of the worker
// until it is up or has failed; data that the socket cannot take at once
// waits in libshout's queue, which the caller keeps short.
//
// Worker thread only. Failures come back as false / Failed with the reason in
// plain words; the password never appears in one.

#include "app/stream/stream_settings.h"

#include <chrono>
#include <cstdint>
#include <string>

struct shout;

namespace wavecrest {

// Why there is no connection: nothing answers (no server, a lost network, a
// server gone away), or a server answers and refuses the source (a wrong
// password, a mount in use, no Icecast, an untrusted certificate).
enum class Trouble { Unreachable, Refused };
struct Failure {
  Trouble trouble = Trouble::Unreachable;
  std::string why;
};

class IcecastSource {
 public:
  explicit IcecastSource(const StreamSettings& settings) : settings_(settings) {}
  ~IcecastSource();
  IcecastSource(const IcecastSource&) = delete;
  IcecastSource& operator=(const IcecastSource&) = delete;

  enum class Step { Waiting, Connected, Failed };

  // Starts connecting under the stream's `name`.
  Step Begin(const std::string& name, Failure& failure);
  // Drives a connection under way; Failed when it has not come up within a
  // few seconds.
  Step Continue(Failure& failure);
  // Hands `size` bytes to the connection (queued when the socket is full);
  // false when the connection is lost.
  bool Send(const std::uint8_t* data, std::size_t size, Failure& failure);
  // Bytes still waiting for the socket.
  std::size_t Queued();
  void Close();
  bool Connected() const { return connected_; }

 private:
  // The reason for libshout's error `code`; `connecting` while the
  // connection was not up yet, when the reason is found out further.
  Failure Reason(int code, bool connecting);

  const StreamSettings& settings_;
  shout* shout_ = nullptr;
  bool connected_ = false;
  std::chrono::steady_clock::time_point deadline_;
};

// Why no source connection came about, found out with a connection and a
// source request of our own (which the server refuses as it refused
// libshout's): the host unknown, nothing listening, a wrong password (401), a
// mount in use (403), or a server that is no Icecast. No reason when that
// cannot be told (inside TLS, or the server would take the source now).
Failure WhyNoSource(const StreamSettings& settings);

}  // namespace wavecrest
