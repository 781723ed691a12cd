#include "commands/playback.h"
#include "commands/startup.h"
#include "commands/wiring.h"
#include "core/settings_keys.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

#include <set>

namespace wavecrest {
namespace {

using testing::TestBot;

void StartAndAskVolume(TestBot& t) {
  Form_Load(t.bot);
  t.loop.RunUntilIdle();
  VolQueryCommand(t.bot, "vol?");
}

// A first start with nothing stored must look exactly like a start from a file
// that holds every start value: each consumer takes its default from the one table.
TEST(SettingStartValues, AnEmptyFileStartsLikeOneHoldingEveryStartValue) {
  std::set<std::string_view> keys;
  std::string content = "[settings]\n";
  for (const SettingRow& row : kSettings) {
    EXPECT_TRUE(keys.insert(row.key).second) << row.key;
    if (!row.startValue.empty()) content += std::string(row.key) + "=" + std::string(row.startValue) + "\n";
  }
  TestBot fresh(CommandRoutines());
  StartAndAskVolume(fresh);
  TestBot stored(CommandRoutines());
  stored.settings.content = content;
  StartAndAskVolume(stored);

  EXPECT_EQ(fresh.chat.lines, stored.chat.lines);
  EXPECT_EQ(fresh.bot.form1.caption, stored.bot.form1.caption);
  EXPECT_EQ(fresh.bot.form1.Text1, stored.bot.form1.Text1);
  EXPECT_EQ(fresh.bot.form1.List1.items, stored.bot.form1.List1.items);
  EXPECT_EQ(fresh.player.volume, stored.player.volume);
  ASSERT_EQ(fresh.chat.lines.size(), 3u);
}

}  // namespace
}  // namespace wavecrest
