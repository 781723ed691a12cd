#include "commands/status.h"

#include "commands/command_table.h"

#include "core/collation.h"
#include "core/text.h"
#include "support/scenario.h"

#include <gtest/gtest.h>

#include <set>

namespace wavecrest {
namespace {

using Lines = std::vector<std::string>;

// The list box exactly as it reads with trigger "!" and a hand-edited "ogg"
// extension: the count line follows the extension whatever it is.
const Lines kBangOgg = {
    "!adv [advertise this program]", "!coms [hide/view command list and/or oggs list]",
    "!con [turn continuous play on/off]", "!date? [get current date]", "!dir x [set directory, x as path]",
    "!dir? [get current set directory]", "!eacolor x [ set end ascii color, x as 6 hex digits]",
    "!eafont x [set end ascii font type, x as font type]", "!eascii x [ set end ascii, x as ascii]",
    "!exit [exit wavecrest system]", "!ext x [set file extension, x as 'mp3, wav, or wma'",
    "!ext? [get current set file extension]", "!facolor x [ set front ascii color, x as 6 hex digits]",
    "!fafont x [set front ascii font type, x as font type]", "!fascii x [set font ascii, x as ascii]",
    "!fcolor x [set font color, x as 6 hex digits]", "!font x [set font type, x as font type]",
    "!handle x [set your handle, x as handle]", "!id3 [get id3_v1 tag/ogg infos]",
    "!idle x [turn idle on, x as reason]", "!idleoff [turn idle off]", "!mode? [get current media modes]",
    "!mute [mute/unmute current song]", "!next [play next song on ogg list]",
    "!oggs [get total ogg count from directory]", "!order [turn order play on/off]",
    "!p x [play a song, x as string]", "!pause [pause/unpause current song]",
    "!prev [play previous song on ogg list]", "!r [play a song at random]", "!ref [refresh ogg list]",
    "!rep [turn repeat play on/off]", "!si [turn silent mp3 play on/off]",
    "!si? [get current silent mp3 play is on or off]", "!skip x [skip current song to x, x as seconds]",
    "!song [get current song playing]", "!stop [stop current song playing]", "!time? [get current time]",
    "!trig x [set x as trigger, 'none' to remove]", "!vol x [set volume, x as integer 1-100]",
    "!vol? [get current set volume]", ".trig? [default command to get trigger]",
};

Lines Listed(const std::string& trigger, const std::string& extension) {
  testing::Scenario s;
  s.bot().form1.Trig = trigger;
  s.bot().form1.lblExt = extension;
  BuildCommandList(s.bot());
  return s.bot().form1.List1.items;
}

TEST(CommandList, ReadsTheSameForEveryTriggerAndExtension) {
  ASSERT_EQ(Listed("!", "ogg"), kBangOgg);
  const struct {
    std::string trigger, extension;
  } cases[] = {{"", "mp3"}, {"!", "wav"}, {"#", "wma"}, {"", "ogg"}};
  for (const auto& c : cases) {
    // Every line but .trig? carries the trigger in front; "ogg" stands only for the extension.
    Lines expected;
    for (const std::string& line : kBangOgg) {
      const std::string rest = ReplaceAll(line, "ogg", c.extension);
      expected.push_back(line.starts_with('!') ? c.trigger + rest.substr(1) : rest);
    }
    SortForListBox(expected);
    EXPECT_EQ(Listed(c.trigger, c.extension), expected) << c.trigger << c.extension;
  }
}

TEST(CommandTable, EveryWordIsUniqueAndHasItsLine) {
  std::set<std::string_view> words;
  for (const CommandEntry& entry : CommandTable()) {
    EXPECT_TRUE(words.insert(entry.word).second) << entry.word;
    // Under an extension that answers the word, its line begins with the key as typed.
    using enum ExtraCondition;
    const char* extension = entry.condition == ExtIsWav ? "wav" : entry.condition == ExtIsWma ? "wma" : "mp3";
    const std::string key = (entry.trigger == TriggerUse::Never ? "" : "!") + std::string(entry.word);
    EXPECT_TRUE(CommandListLine(entry, "!", extension).starts_with(key + " ")) << entry.word;
  }
}

}  // namespace
}  // namespace wavecrest
