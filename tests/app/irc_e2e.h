#pragma once

// The real program in a real IRC channel: one ngircd per test suite, people
// on raw sockets, and the program started as a member's client or as a bot.

#include "support/child_process.h"
#include "support/irc_peer.h"
#include "support/irc_server.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace wavecrest::testing {

// The text as people see it: every formatting code removed.
inline std::string Visible(std::string_view irc) {
  std::string out;
  for (std::size_t i = 0; i < irc.size(); ++i) {
    const char c = irc[i];
    if (c == '\x03') {
      for (int digits = 0; digits < 2 && i + 1 < irc.size() && std::isdigit(static_cast<unsigned char>(irc[i + 1]));
           ++digits) {
        ++i;
      }
      continue;
    }
    if (c != '\x02' && c != '\x0f' && c != '\x16' && c != '\x1d' && c != '\x1f' && c != '\x1e' && c != '\x11') {
      out.push_back(c);
    }
  }
  return out;
}

// A short tone as an MP3, made once per test program.
inline std::string ToneMp3() {
  static const TempTree tree;
  static const std::string path = [] {
    const std::string make = std::string(WAVECREST_SOURCE_DIR) + "/assets/make-test-audio.sh '" + tree.Root() + "' 1";
    if (std::system(make.c_str()) != 0) throw std::runtime_error("cannot make the test audio");
    return tree.Path("tone.mp3");
  }();
  return path;
}

enum class Transport { kPlain, kTls };

class IrcE2E : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = std::make_unique<IrcServer>(); }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { room_ = "#r" + std::to_string(++rooms_); }
  // The program is killed by its PID if a test left it running.
  void TearDown() override { program_.reset(); }

  std::string Url(Transport transport = Transport::kPlain) const {
    return transport == Transport::kTls ? "ircs://127.0.0.1:" + std::to_string(server_->TlsPort()) + "/" + room_
                                        : "irc://127.0.0.1:" + std::to_string(server_->Port()) + "/" + room_;
  }

  // The settings file: `owner` in the screen-name box and a library of `songs`.
  void Prepare(const std::string& owner, const std::vector<std::string>& songs = {"echo valley", "night tide"}) {
    const std::string music = tree_.Dir("music");
    for (const auto& song : songs) std::filesystem::copy_file(ToneMp3(), music + "/" + song + ".mp3");
    std::ofstream(tree_.Path("wavecrest.dat")) << "[settings]\nscreen name=" << owner << "\ndirectory=" << music
                                                << "/\n";
  }

  ChildProcess& Start(const std::vector<std::string>& options, const std::string& url,
                      std::vector<std::string> env = {}) {
    std::vector<std::string> argv = {WAVECREST_BINARY, "--console", "--raw", "--settings",
                                     tree_.Path("wavecrest.dat"), "--irc", url};
    argv.insert(argv.end(), options.begin(), options.end());
    env.push_back("WAVECREST_AUDIO_OUT=null");
    program_ = std::make_unique<ChildProcess>(argv, env);
    return *program_;
  }

  // Starts the program and waits until `nick` has said the welcome in the room.
  void StartAndAwaitWelcome(IrcPeer& watcher, const std::string& nick, const std::vector<std::string>& options,
                            Transport transport = Transport::kPlain, const std::string& url = "",
                            std::vector<std::string> env = {}) {
    const std::size_t from = watcher.Lines().size();
    Start(options, url.empty() ? Url(transport) : url, std::move(env));
    const auto isWelcome = [&](const IrcLine& l) {
      return l.nick == nick && Visible(l.Text()).find("welcome - ") != std::string::npos;
    };
    const auto welcomed = [&] {
      return !program_->Running() ||
             std::any_of(watcher.Lines().begin() + static_cast<long>(from), watcher.Lines().end(), isWelcome);
    };
    ASSERT_TRUE(WaitUntil(welcomed, 30) && program_->Running())
        << "no welcome from " << nick << "; stderr: " << program_->Err();
  }

  // `asker` says `command`; the next line `nick` says in the room, as `watcher` receives it.
  std::optional<std::string> Answer(IrcPeer& asker, const std::string& command, const std::string& nick,
                                    IrcPeer* watcher = nullptr, double seconds = 10) {
    IrcPeer& seer = watcher ? *watcher : asker;
    const std::size_t from = seer.Lines().size();
    asker.Say(room_, command);
    const auto line = seer.Await(
        [&](const IrcLine& l) { return l.command == "PRIVMSG" && l.nick == nick && l.params.size() == 2 && l.params[0] == room_; }, seconds,
        from);
    if (!line) return std::nullopt;
    return seer.Lines()[*line].Text();
  }

  // A person joined to the room.
  std::unique_ptr<IrcPeer> Person(const std::string& nick, const std::string& user = "person") {
    auto peer = std::make_unique<IrcPeer>(server_->Port(), nick, user);
    peer->Join(room_);
    return peer;
  }

  inline static std::unique_ptr<IrcServer> server_;
  inline static int rooms_ = 0;
  std::string room_;
  TempTree tree_;
  std::unique_ptr<ChildProcess> program_;
};

}  // namespace wavecrest::testing
