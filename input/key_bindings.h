#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/buttons.h"
#include "input/key_table.h"
#include "settings/settings_store.h"

namespace mk::input {

using engine::Button;
inline constexpr int kBindingCount = static_cast<int>(engine::kButtons.size());

struct KeyBinding {
  std::int32_t KeyIndex = 0;  // 1..44, as stored under "Key1".."Key4"
  std::uint16_t KeyCode = 0;  // 0 until assigned: matches no key
};

// The four bindings, numbered 1 (TIME) to 4 (RIGHT).
class KeyBindings {
 public:
  KeyBinding& operator[](int number) { return entries_.at(static_cast<std::size_t>(number - 1)); }
  const KeyBinding& operator[](int number) const { return entries_.at(static_cast<std::size_t>(number - 1)); }

  // Sets the key code of binding `number` from record's key index. An index
  // outside 1..44 (only a hand-edited store holds one) leaves the code as it is.
  void AssignWord(int number, const KeyBinding& record);

  // Reads "Key1".."Key4" with their defaults, writes each back at once (so all
  // four exist after the first start) and assigns the key codes.
  void load(settings::SettingsStore& store);

  // Binding `number` takes the key at `keyIndex` (1..44): stored, then assigned.
  void rebind(settings::SettingsStore& store, int number, std::int32_t keyIndex);

  // The first binding, in the order TIME, ACL, LEFT, RIGHT, whose key code is
  // `code`; code 0 (a key without a Windows code) matches nothing.
  std::optional<Button> buttonForKey(std::uint16_t code) const;

 private:
  std::array<KeyBinding, kBindingCount> entries_{};
};

// The hover texts of the five button pictures.
struct ButtonHints {
  std::string time;
  std::string acl;
  std::string alarm;
  std::string left;
  std::string right;
};

// A binding whose index lies outside 1..44 gets an empty key name.
ButtonHints buildHints(const KeyBindings& bindings);

}  // namespace mk::input
