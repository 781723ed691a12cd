#pragma once

// A person in an IRC channel, for end-to-end tests: a plain TCP client on a
// raw socket that registers, joins, says lines and keeps every line it
// receives. Answers PING by itself.

#include "support/event_wait.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wavecrest::testing {

struct IrcLine {
  std::string raw;       // as received, without CR LF
  std::string nick;      // of the prefix; empty without one
  std::string userHost;  // "user@host" of the prefix
  std::string command;
  std::vector<std::string> params;  // the trailing one last

  std::string Text() const { return params.empty() ? "" : params.back(); }
};
IrcLine ParseIrcLine(std::string_view raw);

class IrcPeer : public WaitSource {
 public:
  // Connects to 127.0.0.1:port and registers; throws unless welcomed.
  IrcPeer(std::uint16_t port, std::string nick, const std::string& user = "person");
  ~IrcPeer() override;

  void Send(std::string_view line);  // CR LF added
  void Join(const std::string& channel);  // returns once the server has named who is in it
  void Say(const std::string& channel, std::string_view text);
  void Quit();  // returns once the server has closed the connection

  const std::string& Nick() const { return nick_; }
  bool Connected() const { return fd_ >= 0; }
  const std::vector<IrcLine>& Lines() const { return lines_; }
  // The index of the first line from `from` on that `match` accepts, waiting
  // at most `seconds` for it.
  std::optional<std::size_t> Await(const std::function<bool(const IrcLine&)>& match, double seconds,
                                   std::size_t from = 0);

  std::vector<int> WaitFds() const override;
  void OnReadable(int fd) override;

 private:
  std::string nick_;
  int fd_ = -1;
  std::string pending_;
  std::vector<IrcLine> lines_;
};

// What `nick` said in `channel`, in order, from line `from` on.
std::vector<std::string> SaidBy(const IrcPeer& peer, const std::string& nick, const std::string& channel,
                                std::size_t from = 0);

}  // namespace wavecrest::testing
