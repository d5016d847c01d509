#include "input/key_bindings.h"

#include "settings/persistent_settings.h"

namespace mk::input {

void KeyBindings::AssignWord(int number, const KeyBinding& record) {
  if (auto code = keyCodeOf(record.KeyIndex)) (*this)[number].KeyCode = *code;
}

void KeyBindings::load(settings::SettingsStore& store) {
  for (int n = 1; n <= kBindingCount; ++n) (*this)[n].KeyIndex = settings::readInt(store, settings::keySetting(n));
  for (int n = 1; n <= kBindingCount; ++n) {
    settings::writeInt(store, settings::keySetting(n), (*this)[n].KeyIndex);
    AssignWord(n, (*this)[n]);
  }
}

void KeyBindings::rebind(settings::SettingsStore& store, int number, std::int32_t keyIndex) {
  (*this)[number].KeyIndex = keyIndex;
  settings::writeInt(store, settings::keySetting(number), keyIndex);
  AssignWord(number, (*this)[number]);
}

std::optional<Button> KeyBindings::buttonForKey(std::uint16_t code) const {
  if (code == 0) return std::nullopt;
  for (int n = 1; n <= kBindingCount; ++n)
    if ((*this)[n].KeyCode == code) return static_cast<Button>(n);
  return std::nullopt;
}

ButtonHints buildHints(const KeyBindings& bindings) {
  auto name = [&](int n) { return std::string(keyName(bindings[n].KeyIndex)); };
  ButtonHints hints;
  hints.time = "click or press " + name(1) + " " + "to view current time (hold to view alarm time)";
  hints.acl = "click or press " + name(2) + " " + "to reset the game";
  hints.alarm = "button disabled";
  hints.left = "click or press " + name(3);
  hints.right = "click or press " + name(4);
  return hints;
}

}  // namespace mk::input
