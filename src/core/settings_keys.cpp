#include "core/settings_keys.h"

#include "core/bot.h"

namespace wavecrest {

std::string ReadSettingOrStart(Bot& bot, Setting setting) {
  std::string value = bot.ReadSetting(SettingKey(setting));
  if (value.empty()) value = StartValue(setting);
  return value;
}

}  // namespace wavecrest
