#pragma once

// The keys of the settings file and the value each starts from when the file
// yields nothing for it. Start-up, the commands that answer with a setting and
// the tests all take their keys and start values from here.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace wavecrest {

class Bot;

enum class Setting {
  Handle,
  FrontAscii,
  FrontAsciiFont,
  FrontAsciiColor,
  EndAscii,
  EndAsciiFont,
  EndAsciiColor,
  Font,
  Color,
  Load,
  Directory,
  Extension,
  ScreenName,
  Trigger,
  Volume,
};

// What the screen-name box holds until the member types a name.
inline constexpr const char* kScreenNamePlaceholder = "screen name here";

struct SettingRow {
  Setting setting;
  std::string_view key;
  std::string_view startValue;  // empty: the value stays empty
};

// One row per Setting, in the enum's order.
inline constexpr std::array<SettingRow, 15> kSettings{{
    {Setting::Handle, "handle", "new user"},
    {Setting::FrontAscii, "front ascii", ".·•×"},
    {Setting::FrontAsciiFont, "front ascii font", "times new roman"},
    {Setting::FrontAsciiColor, "front ascii color", "0000ff"},
    {Setting::EndAscii, "end ascii", "×•·."},
    {Setting::EndAsciiFont, "end ascii font", "times new roman"},
    {Setting::EndAsciiColor, "end ascii color", "0000ff"},
    {Setting::Font, "font", "times new roman"},
    {Setting::Color, "color", "000000"},
    {Setting::Load, "load", "0"},
    {Setting::Directory, "directory", ""},
    {Setting::Extension, "ext", "mp3"},
    {Setting::ScreenName, "screen name", kScreenNamePlaceholder},
    {Setting::Trigger, "trigger", ""},
    {Setting::Volume, "volume", "100"},
}};

static_assert([] {
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    if (static_cast<std::size_t>(kSettings[i].setting) != i) return false;
  }
  return true;
}());

constexpr const SettingRow& RowOf(Setting setting) { return kSettings[static_cast<std::size_t>(setting)]; }
constexpr std::string_view SettingKey(Setting setting) { return RowOf(setting).key; }
constexpr std::string_view StartValue(Setting setting) { return RowOf(setting).startValue; }

// The setting as the file holds it, or its start value when the file yields nothing.
std::string ReadSettingOrStart(Bot& bot, Setting setting);

}  // namespace wavecrest
