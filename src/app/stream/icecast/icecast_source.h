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

class IcecastSource {
 public:
  explicit IcecastSource(const StreamSettings& settings) : settings_(settings) {}
  ~IcecastSource() { Close(); }
  IcecastSource(const IcecastSource&) = delete;
  IcecastSource& operator=(const IcecastSource&) = delete;

  enum class Step { Waiting, Connected, Failed };

  // Starts connecting under the stream's `name`.
  Step Begin(const std::string& name, std::string& why);
  // Drives a connection under way; Failed when it has not come up within a
  // few seconds.
  Step Continue(std::string& why);
  // Hands `size` bytes to the connection (queued when the socket is full);
  // false when the connection is lost.
  bool Send(const std::uint8_t* data, std::size_t size, std::string& why);
  // Bytes still waiting for the socket.
  std::size_t Queued();
  void Close();
  bool Connected() const { return connected_; }

 private:
  // The reason for libshout's error `code`, found out further when the
  // server refused the login.
  std::string Reason(int code);

  const StreamSettings& settings_;
  shout* shout_ = nullptr;
  bool connected_ = false;
  std::chrono::steady_clock::time_point deadline_;
};

// Why an Icecast server refused a source login, told from its answer to a
// source request of our own on a plain connection (which it also refuses):
// a wrong password, a mount in use, or a server that is no Icecast. Empty
// when the server cannot be asked (TLS, no answer).
std::string WhyLoginRefused(const StreamSettings& settings);

}  // namespace wavecrest
