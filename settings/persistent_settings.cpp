#include "settings/persistent_settings.h"

#include <cassert>

namespace mk::settings {

int readInt(SettingsStore& store, Setting setting, std::optional<int> fallback) {
  const SettingInfo& info = infoOf(setting);
  assert(info.kind == SettingKind::Integer);
  return store.readInt(info.name, fallback.value_or(info.defaultValue));
}

bool readBool(SettingsStore& store, Setting setting, std::optional<bool> fallback) {
  const SettingInfo& info = infoOf(setting);
  assert(info.kind == SettingKind::Boolean);
  return store.readBool(info.name, fallback.value_or(info.defaultValue != 0));
}

void writeInt(SettingsStore& store, Setting setting, int value) {
  assert(infoOf(setting).kind == SettingKind::Integer);
  store.writeInt(nameOf(setting), value);
}

void writeBool(SettingsStore& store, Setting setting, bool value) {
  assert(infoOf(setting).kind == SettingKind::Boolean);
  store.writeBool(nameOf(setting), value);
}

}  // namespace mk::settings
