// Once as a person would: irssi, in tmux, joins the room and types "p echo";
// its screen shows the bot's answer with the song's name in bold.
#include "app/irc_e2e.h"

#include <cstdlib>
#include <regex>

namespace wavecrest::testing {
namespace {

TEST_F(IrcE2E, APersonInIrssiSeesTheAnswerInBold) {
  if (std::system("command -v irssi >/dev/null && command -v tmux >/dev/null") != 0) {
    GTEST_SKIP() << "irssi and tmux are in scripts/install-deps";
  }
  Prepare("person");
  auto watcher = Person("watcher");
  ASSERT_NO_FATAL_FAILURE(StartAndAwaitWelcome(*watcher, "wcbot", {"--nick", "wcbot", "--owner-mask", "person!*@*"}));
  tree_.Dir("irssi");
  std::ofstream(tree_.Path("irssi/config"))
      << "servers = ( { address = \"127.0.0.1\"; chatnet = \"test\"; port = \"" << server_->Port()
      << "\"; autoconnect = \"yes\"; } );\nchatnets = { test = { type = \"IRC\"; }; };\n"
      << "channels = ( { name = \"" << room_ << "\"; chatnet = \"test\"; autojoin = \"yes\"; } );\n"
      << "settings = { core = { real_name = \"person\"; user_name = \"person\"; nick = \"person\"; };\n"
      // No queue for its own commands: the test is not a flood.
      << "  \"irc/core\" = { cmd_queue_speed = \"0msec\"; cmds_max_at_once = \"100\"; }; };\n";
  // tmux in control mode: commands on its standard input, the pane's output
  // and the commands' answers on its standard output. Its server is ended
  // through its own socket.
  const std::string socket = tree_.Path("tmux.socket");
  struct EndTmux {
    std::string socket;
    ~EndTmux() { (void)std::system(("tmux -S '" + socket + "' kill-server 2>/dev/null").c_str()); }
  } endTmux{socket};
  ChildProcess tmux({"/usr/bin/tmux", "-S", socket, "-C", "new-session", "irssi --home='" + tree_.Path("irssi") + "'"},
                    {"TERM=xterm-256color"});
  tmux.Write("refresh-client -C 200x40\n");
  const auto joined = [&](const IrcLine& l) { return l.command == "JOIN" && l.nick == "person"; };
  ASSERT_TRUE(watcher->Await(joined, 20)) << tmux.Out();

  const std::size_t from = watcher->Lines().size();
  tmux.Write("send-keys '/window goto " + room_ + "' Enter\nsend-keys 'p echo' Enter\n");
  const auto answered = [&](const IrcLine& l) { return l.nick == "wcbot" && l.Text().find("echo valley") != std::string::npos; };
  ASSERT_TRUE(watcher->Await(answered, 10, from)) << program_->Err();
  // The answer has reached tmux once the pane's output shows it.
  const auto shown = [&] { return tmux.Out().find("valley", tmux.Out().rfind("playing")) != std::string::npos; };
  ASSERT_TRUE(WaitUntil(shown, 10)) << tmux.Out();
  const std::size_t before = tmux.Out().size();
  tmux.Write("capture-pane -e -p -J\n");
  const auto captured = [&] { return tmux.Out().find("\n%end", tmux.Out().find("%begin", before)) != std::string::npos; };
  ASSERT_TRUE(WaitUntil(captured, 10));
  const std::string screen = tmux.Out().substr(tmux.Out().find("%begin", before));
  // "playing #1 - ", styles, then the name: among the styles, bold (SGR 1).
  std::smatch match;
  ASSERT_TRUE(std::regex_search(screen, match, std::regex("playing #1 - ((\x1b\\[[0-9;]*m)*)echo valley"))) << screen;
  EXPECT_TRUE(std::regex_search(match[1].str(), std::regex("\x1b\\[(1|[0-9;]*;1)[;m]"))) << screen;
}

}  // namespace
}  // namespace wavecrest::testing
