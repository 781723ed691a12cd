#include "support/irssi_client.h"

#include <cstdlib>
#include <fstream>
#include <optional>

namespace wavecrest::testing {
namespace {

// A tmux argument holding any text: single-quoted, a quote inside closed,
// escaped and opened again, as in a shell.
std::string Quoted(std::string_view text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The text of the `n`th answer (0 the session's own) in control-mode output,
// from its "%begin" line to its "%end" or "%error" line; none until it is whole.
std::optional<std::string> Answer(const std::string& out, int n) {
  std::size_t begin = std::string::npos;
  for (std::size_t at = 0; at < out.size();) {
    const std::size_t end = out.find('\n', at);
    if (end == std::string::npos) break;
    const std::string_view line(out.data() + at, end - at);
    if (line.starts_with("%begin ") && n-- == 0) begin = at;
    if (begin != std::string::npos && (line.starts_with("%end ") || line.starts_with("%error "))) {
      return out.substr(begin, end - begin);
    }
    at = end + 1;
  }
  return std::nullopt;
}

}  // namespace

bool IrssiClient::Available() {
  return std::system("command -v irssi >/dev/null && command -v tmux >/dev/null") == 0;
}

IrssiClient::IrssiClient(const IrssiSetup& setup) {
  tree_.Dir("irssi");
  std::ofstream(tree_.Path("irssi/config"))
      << "servers = ( { address = \"127.0.0.1\"; chatnet = \"test\"; port = \"" << setup.port << "\"; "
      << (setup.password.empty() ? "" : "password = \"" + setup.password + "\"; ") << "autoconnect = \"yes\"; } );\n"
      << "chatnets = { test = { type = \"IRC\"; }; };\n"
      << "channels = ( { name = \"" << setup.channel << "\"; chatnet = \"test\"; autojoin = \"yes\"; } );\n"
      << "settings = { core = { real_name = \"" << setup.nick << "\"; user_name = \"" << setup.nick << "\"; nick = \""
      << setup.nick << "\"; };\n"
      // No queue for its own commands: the test is not a flood.
      << "  \"irc/core\" = { cmd_queue_speed = \"0msec\"; cmds_max_at_once = \"100\"; };\n"
      // A channel joined for it (a bouncer's) becomes the current window, as
      // one it joined itself does: typed lines go there.
      << "  \"fe-common/core\" = { window_auto_change = \"yes\"; }; };\n";
  tmux_ = std::make_unique<ChildProcess>(
      std::vector<std::string>{"/usr/bin/tmux", "-S", tree_.Path("tmux.socket"), "-C", "new-session",
                               "irssi --home='" + tree_.Path("irssi") + "'"},
      std::vector<std::string>{"TERM=xterm-256color"});
  Command("refresh-client -C 200x40");
}

IrssiClient::~IrssiClient() {
  (void)std::system(("tmux -S '" + tree_.Path("tmux.socket") + "' kill-server 2>/dev/null").c_str());
}

void IrssiClient::Command(const std::string& command) {
  tmux_->Write(command + "\n");
  ++commands_;
}

void IrssiClient::Type(std::string_view line) {
  Command("send-keys -l " + Quoted(line));
  Command("send-keys Enter");
}

bool IrssiClient::AwaitShown(std::string_view text, double seconds) {
  return WaitUntil([&] { return tmux_->Out().find(text) != std::string::npos; }, seconds);
}

std::string IrssiClient::Screen() {
  Command("capture-pane -e -p -J");
  std::optional<std::string> screen;
  WaitUntil([&] { return (screen = Answer(tmux_->Out(), commands_)).has_value(); }, 10);
  return screen.value_or("");
}

}  // namespace wavecrest::testing
