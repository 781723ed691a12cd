// A server's bytes, as hostile as they come, through the line reader into a
// session that logs in with SASL and owns a channel: nothing it sends holds
// a line break or the secret, no line or problem it reports holds a C0
// control or DEL (C1 and broken UTF-8 are the terminal writers' to clean),
// and no line it takes in is longer than the reader's limit.
#include "fuzz_check.h"
#include "host/irc/line_reader.h"
#include "host/irc/session.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace wavecrest::irc;
using wavecrest::fuzz::Check;

bool HasControl(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') return true;
  }
  return false;
}

constexpr std::string_view kSecret = "s3cret-word";

class Listener final : public SessionListener {
 public:
  void SendLine(const std::string& line) override {
    Check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos, "a line sent holds CR, LF or NUL");
    // PONG and the answers of NOTICE carry back what the other side sent.
    const bool echo = line.starts_with("PONG") || line.starts_with("NOTICE");
    Check(echo || line.find(kSecret) == std::string::npos, "the secret left in clear");
  }
  void OnChannelLine(const ChannelLine& line) override { CheckLine(line); }
  void OnPrivateLine(const ChannelLine& line) override { CheckLine(line); }
  void OnPeople(const std::vector<std::string>& nicks) override {
    Check(nicks.size() <= kMaxPeople + 1, "the people list grew past its bound");
  }
  void OnOwnNick(const std::string&) override {}
  void OnJoined() override {}
  void OnLeftChannel() override {}
  void OnProblem(const std::string& text) override {
    Check(!HasControl(text), "a problem holds a control character");
    Check(text.find(kSecret) == std::string::npos, "a problem holds the secret");
  }
  std::string HelpText(const std::string& word) override { return "help " + word; }
  std::string LocalTime() override { return "now"; }
  double UnixTime() override { return 1796558400.0; }

 private:
  static void CheckLine(const ChannelLine& line) {
    Check(!HasControl(line.nick) && !HasControl(line.text), "a reported line holds a control character");
  }
};

}  // namespace

// The input is cut into reads at 0xFF bytes; each read comes a second after
// the one before, so deadlines and pacing are reached too.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  Listener listener;
  SessionConfig config{.nick = "bot", .login = {"bot", std::string(kSecret)}, .channel = "#room",
                       .ownerMask = "owner!*@*", .ownerAccount = "dj"};
  Session session(config, listener);
  LineReader reader;
  double now = 0.0;
  session.OnConnected(now);
  while (!input.empty()) {
    const std::size_t cut = std::min(input.find('\xFF'), input.size());
    for (const std::string& line : reader.Append(input.substr(0, cut))) {
      Check(line.size() <= kMaxLineBytes, "a line over the limit was taken in");
      session.OnLineReceived(line, now);
    }
    input.remove_prefix(std::min(cut + 1, input.size()));
    now += 1.0;
    session.Say("<b>reply</b> to " + std::to_string(now), now);
    if (session.OnTick(now) == SessionAction::kReconnect) {
      session.OnDisconnected(now);
      session.OnConnected(now);
    }
  }
  return 0;
}
