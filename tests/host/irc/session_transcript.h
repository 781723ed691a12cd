#pragma once

// The session as a transcript: server lines in, client lines out, and what
// it tells its listener, all as text.

#include "host/irc/session.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace wavecrest::irc {

using Lines = std::vector<std::string>;

// Everything the session tells its listener, as text, in order.
struct Recorder final : SessionListener {
  Lines sent, events, problems;
  std::string helpAsked;
  void SendLine(const std::string& line) override { sent.push_back(line); }
  static std::string Describe(const ChannelLine& line) {
    const char* kinds[] = {"message", "action", "notice"};
    const char* masks[] = {"", "|mask ok", "|mask fails"};
    return line.nick + "|" + line.text + "|" + line.styled + "|" + kinds[static_cast<int>(line.kind)] +
           (line.account ? "|account " + *line.account : "") + masks[static_cast<int>(line.mask)] +
           (line.sender == Sender::kOwnIdentity ? "|own identity" : "");
  }
  void OnChannelLine(const ChannelLine& line) override { events.push_back("line " + Describe(line)); }
  void OnPrivateLine(const ChannelLine& line) override { events.push_back("private " + Describe(line)); }
  void OnPeople(const std::vector<std::string>& nicks) override {
    std::string list;
    for (const std::string& nick : nicks) list += (list.empty() ? "" : ",") + nick;
    events.push_back("people " + list);
  }
  void OnOwnNick(const std::string& nick) override { events.push_back("nick " + nick); }
  void OnJoined() override { events.push_back("joined"); }
  void OnLeftChannel() override { events.push_back("left"); }
  void OnProblem(const std::string& text) override { problems.push_back(text); }
  std::string HelpText(const std::string& word) override {
    helpAsked = word;
    return word.empty() ? "commands: p next" : "p x [play a song]";
  }
  std::string LocalTime() override { return "Sun Dec 06 12:00:00 2026"; }
  double UnixTime() override { return 1796558400.0; }  // 2026-12-06T12:00:00Z
};

struct Step {
  const char* serverLine;  // nullptr: only a tick
  Lines clientLines;
  double at = 0.0;
};

class IrcSession : public ::testing::Test {
 protected:
  void Start(SessionConfig config, double now = 0.0) {
    session = std::make_unique<Session>(std::move(config), recorder);
    session->OnConnected(now);
  }
  // A registered, joined session as "bot" on #room, seen as bot!~wc@10.0.0.1,
  // after the server's `isupport` tokens and with `capabilities` enabled.
  void Join(SessionConfig config = {}, const std::string& capabilities = "", const std::string& isupport = "") {
    config.nick = "bot";
    config.channel = "#room";
    Start(std::move(config));
    if (!capabilities.empty()) {
      Run({{(":s CAP * LS :" + capabilities).c_str(), {FormatLine("CAP", {"REQ", capabilities})}},
           {(":s CAP * ACK :" + capabilities).c_str(), {"CAP END"}}});
    }
    for (const std::string& line : std::vector<std::string>{":s 001 bot :Welcome", ":s 005 bot " + isupport + " :are supported",
                                    ":bot!~wc@10.0.0.1 JOIN :#room", ":s 353 bot = #room :bot @op", ":s 366 bot #room :End"}) {
      session->OnLineReceived(line, 0.0);
    }
    session->OnTick(0.0);
    recorder.events.clear();
    recorder.sent.clear();
  }
  // Each step's server line (and a tick at its time) must make the client send exactly its lines.
  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      recorder.sent.clear();
      if (step.serverLine != nullptr) session->OnLineReceived(step.serverLine, step.at);
      session->OnTick(step.at);
      EXPECT_EQ(recorder.sent, step.clientLines) << (step.serverLine ? step.serverLine : "tick") << " at " << step.at;
    }
  }
  Recorder recorder;
  std::unique_ptr<Session> session;
};

}  // namespace wavecrest::irc
