#include "input/key_bindings.h"

namespace mk::input {

std::string keySettingName(int number) { return "Key" + std::to_string(number); }

void KeyBindings::AssignWord(int number, const KeyBinding& record) {
  if (auto code = keyCodeOf(record.KeyIndex)) (*this)[number].KeyCode = *code;
}

void KeyBindings::load(settings::SettingsStore& store) {
  for (int n = 1; n <= kBindingCount; ++n)
    (*this)[n].KeyIndex = store.readInt(keySettingName(n), kDefaultKeyIndices[static_cast<std::size_t>(n - 1)]);
  for (int n = 1; n <= kBindingCount; ++n) {
    store.writeInt(keySettingName(n), (*this)[n].KeyIndex);
    AssignWord(n, (*this)[n]);
  }
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
