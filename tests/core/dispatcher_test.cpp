#include "core/dispatcher.h"

#include "commands/command_table.h"
#include "core/bot.h"
#include "core/diagnostics.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <vector>

namespace wavecrest {
namespace {

struct Expect {
  const char* line;        // already lower-cased, as the dispatcher sees it
  const char* trigger;
  const char* extension;
  const char* word;        // the entry reached; nullptr when the line is dropped
  const char* input;       // what the handler receives
  NoCommand why = NoCommand::UnknownWord;  // for a dropped line
};

TEST(MatchCommand, FollowsTheTableAndItsForms) {
  const Expect cases[] = {
      {"next", "", "mp3", "next", "next"},
      {"next ", "", "mp3", nullptr, nullptr, NoCommand::TextAfterWord},
      {" next", "", "mp3", nullptr, nullptr},
      {"!next", "!", "mp3", "next", "!next"},
      {"next", "!", "mp3", nullptr, nullptr, NoCommand::TriggerMissing},
      {".trig?", "!", "mp3", ".trig?", ".trig?"},
      {"!.trig?", "!", "mp3", nullptr, nullptr},
      {"xnext", "x", "mp3", "next", "xnext"},
      {"font comic sans", "", "mp3", "font", "comic sans"},
      {"font", "", "mp3", nullptr, nullptr, NoCommand::NoArgument},
      {"font    ", "", "mp3", nullptr, nullptr, NoCommand::NoArgument},
      {"font  two  spaces ", "", "mp3", "font", " two  spaces "},
      {"fcolor ff00ff", "", "mp3", "fcolor", "ff00ff"},
      {"fcolor ff00f", "", "mp3", nullptr, nullptr, NoCommand::NotSixCharacters},
      {"fcolor ff00ff0", "", "mp3", nullptr, nullptr, NoCommand::NotSixCharacters},
      {"eacolor 0000ff", "", "mp3", "eacolor", "0000ff"},
      {"facolor ×•·.×•", "", "mp3", "facolor", "×•·.×•"},
      {"exit now", "", "mp3", nullptr, nullptr, NoCommand::TextAfterWord},
      {"mp3s", "", "mp3", "mp3s", "mp3s"},
      {"mp3s now", "", "wav", nullptr, nullptr, NoCommand::TextAfterWord},
      {"!wavs", "!", "mp3", nullptr, nullptr, NoCommand::OtherExtension},
      {"mp3s", "", "wav", nullptr, nullptr, NoCommand::OtherExtension},
      {"wavs", "", "wav", "wavs", "wavs"},
      {"wmas", "", "mp3", nullptr, nullptr, NoCommand::OtherExtension},
      {"vol 50", "", "mp3", "vol", "vol 50"},
      {"vol", "", "mp3", "vol", "vol"},
      {"vol abc", "", "mp3", "vol", "vol abc"},
      {"vol?", "", "mp3", "vol?", "vol?"},
      {"skip", "", "mp3", "skip", "skip"},
      {"p  a b", "", "mp3", "p", " a b"},
      {"pause", "", "mp3", "pause", "pause"},
      {"idle brb", "", "mp3", "idle", "brb"},
      {"idleoff", "", "mp3", "idleoff", "idleoff"},
      {"idleoff now", "", "mp3", nullptr, nullptr, NoCommand::TextAfterWord},
      {"dir? x", "", "mp3", nullptr, nullptr, NoCommand::TextAfterWord},
      {"ext? ", "", "mp3", nullptr, nullptr, NoCommand::TextAfterWord},
      {"hello there", "", "mp3", nullptr, nullptr},
      {"", "", "mp3", nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const auto d = MatchCommand(CommandTable(), c.trigger, c.extension, c.line);
    const auto why = WhyNoCommand(CommandTable(), c.trigger, c.extension, c.line);
    if (c.word == nullptr) {
      EXPECT_FALSE(d) << '"' << c.line << "\" should be dropped, reached " << (d ? d->entry->word : "");
      EXPECT_EQ(why, c.why) << c.line;
      continue;
    }
    EXPECT_FALSE(why) << c.line;
    ASSERT_TRUE(d) << '"' << c.line << "\" should reach " << c.word;
    EXPECT_EQ(d->entry->word, c.word) << c.line;
    EXPECT_EQ(d->input, c.input) << c.line;
  }
}

TEST(CommandTable, HoldsTheFortyFourWordsInDispatchOrder) {
  const char* words[] = {".trig?", "exit", "adv", "r", "dir", "dir?", "coms", "con", "eacolor", "eafont", "eascii",
                         "facolor", "fafont", "fascii", "fcolor", "font", "handle", "mute", "p", "pause", "ref", "rep",
                         "song", "stop", "mp3s", "wavs", "wmas", "vol", "vol?", "skip", "next", "prev", "idle",
                         "idleoff", "order", "id3", "trig", "ext?", "ext", "si?", "si", "mode?", "date?", "time?"};
  const auto table = CommandTable();
  ASSERT_EQ(table.size(), std::size(words));
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i].word, words[i]) << i;
  // On a network the same words, then the two that stand for the matches window.
  const auto network = CommandTable(RoomKind::kNetwork);
  ASSERT_EQ(network.size(), std::size(words) + 2);
  for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(network[i].word, words[i]) << i;
  EXPECT_EQ(network[44].word, "matches");
  EXPECT_EQ(network[45].word, "pick");
  EXPECT_EQ(MatchCommand(network, "", "mp3", "pick 2")->input, "2");
}

// Who the member is: lines typed here (and the member's identity on another
// client) by the screen name; other lines by the account when one is given,
// else by the name, the mask, and what the network can vouch for.
TEST(IsMembersLine, DecidesByWhatTheRoomVouchesFor) {
  using enum LineSource;
  using enum MaskCheck;
  using enum RoomSpeakers;
  const OwnerRule byName{std::nullopt, kByScreenName}, inPerson{std::nullopt, kOnlyVouched},
      byAccount{"DjAccount", kByScreenName};
  const struct {
    const char* name;
    OwnerRule rule;
    Speaker speaker;
    bool members;
  } cases[] = {
      {"the local room: the name in the box", byName, {"Some Member"}, true},
      {"the local room: another name", byName, {"someone"}, false},
      {"typed here under the box's name", inPerson, {"somemember", std::nullopt, kTypedHere}, true},
      {"typed here, the box holding another", inPerson, {"dj", std::nullopt, kTypedHere}, false},
      {"the member's other client, vouched", inPerson, {"Some Member", std::nullopt, kMembersOtherClient}, true},
      {"a bot's owner by name", byName, {"Some Member", std::nullopt, kRoom, kNoMask}, true},
      {"a bot's owner matching the mask", byName, {"Some Member", std::nullopt, kRoom, kPassed}, true},
      {"a bot's owner failing the mask", byName, {"Some Member", std::nullopt, kRoom, kFailed}, false},
      {"in person: a stranger under the name", inPerson, {"Some Member", std::nullopt, kRoom, kNoMask}, false},
      {"in person: the name and the mask", inPerson, {"Some Member", std::nullopt, kRoom, kPassed}, true},
      {"by account, any nick", byAccount, {"guest42", "djaccount", kRoom}, true},
      {"by account: the name alone is nobody", byAccount, {"Some Member", std::nullopt, kRoom, kPassed}, false},
      {"by account: another account", byAccount, {"Some Member", "eve", kRoom}, false},
      {"by account: typed here still by the box", byAccount, {"Some Member", std::nullopt, kTypedHere}, true},
  };
  Form1 form;
  form.Text1 = "Some Member";
  for (const auto& c : cases) EXPECT_EQ(IsMembersLine(c.rule, form, c.speaker), c.members) << c.name;
}

// Dispatch end to end, with every handler replaced by a recorder.
std::vector<std::pair<std::string, std::string>> g_calls;
CommandResult Record(Bot&, const std::string& input) {
  g_calls.emplace_back("handled", input);
  return Answered();
}

class DispatchChatLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    t_.bot.form1.Text1 = "Some Member";
    t_.bot.form1.lblExt = "mp3";
  }
  static std::vector<CommandEntry> RecordingTable() {
    std::vector<CommandEntry> table(CommandTable().begin(), CommandTable().end());
    for (auto& entry : table) entry.handler = &Record;
    return table;
  }
  std::vector<CommandEntry> table_ = RecordingTable();
  testing::TestBot t_{testing::NoRoutines(table_)};
};

TEST_F(DispatchChatLineTest, OnlyTheMemberIsObeyedWhateverCaseAndSpaces) {
  const struct {
    const char* speaker;
    bool obeyed;
  } cases[] = {{"somemember", true}, {"SOME MEMBER", true}, {"Some Member", true}, {"some member2", false},
               {"someone else", false}};
  for (const auto& c : cases) {
    g_calls.clear();
    DispatchChatLine(t_.bot, c.speaker, "NEXT");
    EXPECT_EQ(g_calls.size(), c.obeyed ? 1u : 0u) << c.speaker;
  }
}

TEST_F(DispatchChatLineTest, LowerCasesLineAndTrigger) {
  t_.bot.form1.Trig = "X";
  DispatchChatLine(t_.bot, "some member", "xNEXT");
  EXPECT_EQ(t_.bot.form1.Trig, "x");
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].second, "xnext");

  g_calls.clear();
  DispatchChatLine(t_.bot, "some member", "FONT Comic Sans");
  ASSERT_EQ(g_calls.size(), 0u);  // the trigger is now "x": "font" is no key
  DispatchChatLine(t_.bot, "some member", "xFONT Comic Sans");
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].second, "comic sans");
}

TEST_F(DispatchChatLineTest, UnicodeLinesAreLowerCased) {
  DispatchChatLine(t_.bot, "some member", "HANDLE JOSÉ");
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].second, "josé");
}

TEST_F(DispatchChatLineTest, WordsWithoutAHandlerAreDroppedQuietly) {
  table_[1].handler = nullptr;  // exit
  std::vector<std::string> notes;
  SetDiagnosticSink([&notes](std::string_view note) { notes.emplace_back(note); });
  DispatchChatLine(t_.bot, "some member", "exit");
  SetDiagnosticSink(nullptr);
  EXPECT_TRUE(g_calls.empty());
  EXPECT_TRUE(t_.chat.lines.empty());
  EXPECT_EQ(notes, std::vector<std::string>{R"(no answer to "exit": nothing answers "exit")"});
}

}  // namespace
}  // namespace wavecrest
