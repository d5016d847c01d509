#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "settings/settings_store.h"

namespace mk::settings {

// Every value the program keeps between runs. Readers and writers name a row
// of kSettings; nobody spells a value's name or default anywhere else.
enum class Setting : std::size_t {
  FullscreenMode,
  Key1,
  Key2,
  Key3,
  Key4,
  HiScore1,
  HiScore2,
  SoundMode,
  SplashScreen,
};

enum class SettingKind { Boolean, Integer };

struct SettingInfo {
  Setting setting;
  std::string_view name;
  SettingKind kind;
  int defaultValue;  // a boolean's is 1 or 0
};

inline constexpr std::array<SettingInfo, 9> kSettings{{
    {Setting::FullscreenMode, "FullscreenMode", SettingKind::Boolean, 1},
    // Key indices of TIME, ACL, LEFT, RIGHT: the keys 1, 5, left and right arrow.
    {Setting::Key1, "Key1", SettingKind::Integer, 2},
    {Setting::Key2, "Key2", SettingKind::Integer, 6},
    {Setting::Key3, "Key3", SettingKind::Integer, 39},
    {Setting::Key4, "Key4", SettingKind::Integer, 40},
    // Read with the score the game holds as the default, which is 0 at start.
    {Setting::HiScore1, "HiScore1", SettingKind::Integer, 0},
    {Setting::HiScore2, "HiScore2", SettingKind::Integer, 0},
    // The position of the chosen sound output; -1 while none has been chosen.
    {Setting::SoundMode, "SoundMode", SettingKind::Integer, -1},
    {Setting::SplashScreen, "SplashScreen", SettingKind::Boolean, 1},
}};

constexpr const SettingInfo& infoOf(Setting setting) { return kSettings[static_cast<std::size_t>(setting)]; }
constexpr std::string_view nameOf(Setting setting) { return infoOf(setting).name; }

constexpr bool rowsFollowTheEnum() {
  for (std::size_t i = 0; i < kSettings.size(); ++i)
    if (static_cast<std::size_t>(kSettings[i].setting) != i) return false;
  return true;
}
static_assert(rowsFollowTheEnum(), "kSettings is indexed by Setting");

// The setting of key binding `number` (1 TIME .. 4 RIGHT).
constexpr Setting keySetting(int number) {
  return static_cast<Setting>(static_cast<std::size_t>(Setting::Key1) + static_cast<std::size_t>(number - 1));
}
static_assert(nameOf(keySetting(1)) == "Key1" && nameOf(keySetting(4)) == "Key4");

// Reads a value by the store's rules. The default is the table's, or
// `fallback` where the reader's own state stands in for it (the high score
// in memory, the splash dialog's check box).
int readInt(SettingsStore& store, Setting setting, std::optional<int> fallback = std::nullopt);
bool readBool(SettingsStore& store, Setting setting, std::optional<bool> fallback = std::nullopt);

void writeInt(SettingsStore& store, Setting setting, int value);
void writeBool(SettingsStore& store, Setting setting, bool value);

}  // namespace mk::settings
