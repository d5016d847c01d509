#include "input/key_bindings.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"

using namespace mk::input;
using mk::settings::MemorySettingsStore;

// The key table ties a stored index to the code the handlers compare, the
// hint's name and the dialog's list text; a slip rebinds a button silently.
TEST(KeyTable, IndicesMapToCodesNamesAndListTexts) {
  EXPECT_EQ(keyCodeOf(1), 48);
  EXPECT_EQ(keyCodeOf(36), 90);
  EXPECT_EQ(keyName(36), "'Z'");
  EXPECT_EQ(KeyNames[35].list(), "Z");
  // The arrows are listed up, down, left, right: not their codes' order.
  EXPECT_EQ(keyCodeOf(37), 38);
  EXPECT_EQ(keyCodeOf(38), 40);
  EXPECT_EQ(keyName(38), "'down arrow' key");
  EXPECT_EQ(KeyNames[42].list(), "<SHIFT>");
  EXPECT_EQ(keyCodeOf(0), std::nullopt);
  EXPECT_EQ(keyCodeOf(45), std::nullopt);
  EXPECT_EQ(keyName(45), "");
}

// First start with an empty store: the defaults work and all four values
// exist afterwards, so a later start reads them back.
TEST(KeyBindings, LoadFromEmptyStoreUsesDefaultsAndWritesThemBack) {
  MemorySettingsStore store;
  KeyBindings bindings;
  bindings.load(store);
  EXPECT_EQ(store.values().at("Key1"), "2");
  EXPECT_EQ(store.values().at("Key2"), "6");
  EXPECT_EQ(store.values().at("Key3"), "39");
  EXPECT_EQ(store.values().at("Key4"), "40");
  EXPECT_EQ(store.values().size(), 4u);
  EXPECT_EQ(bindings.buttonForKey(49), Button::Time);
  EXPECT_EQ(bindings.buttonForKey(53), Button::Acl);
  EXPECT_EQ(bindings.buttonForKey(37), Button::Left);
  EXPECT_EQ(bindings.buttonForKey(39), Button::Right);
  EXPECT_EQ(bindings.buttonForKey(38), std::nullopt);
}

// A hand-edited store: an index outside 1..44 keeps code 0 and matches no
// key (not even a key without a code); a shared key goes to the earlier button.
TEST(KeyBindings, HandEditedStoreOutOfRangeAndDuplicateIndices) {
  MemorySettingsStore store;
  store.setText("Key1", "99");
  store.setText("Key2", "abc");
  store.setText("Key3", "44");
  store.setText("Key4", "44");
  KeyBindings bindings;
  bindings.load(store);
  EXPECT_EQ(bindings[1].KeyIndex, 99);
  EXPECT_EQ(bindings[1].KeyCode, 0);
  EXPECT_EQ(store.values().at("Key1"), "99");
  EXPECT_EQ(store.values().at("Key2"), "6");
  EXPECT_EQ(bindings.buttonForKey(0), std::nullopt);
  EXPECT_EQ(bindings.buttonForKey(32), Button::Left);

  KeyBinding outside{0, 0};
  bindings[3].KeyCode = 65;
  bindings.AssignWord(3, outside);
  EXPECT_EQ(bindings[3].KeyCode, 65);  // unchanged
}

TEST(ButtonHints, BuiltFromTheCurrentBindings) {
  MemorySettingsStore store;
  KeyBindings bindings;
  bindings.load(store);
  ButtonHints hints = buildHints(bindings);
  EXPECT_EQ(hints.time, "click or press '1' to view current time (hold to view alarm time)");
  EXPECT_EQ(hints.acl, "click or press '5' to reset the game");
  EXPECT_EQ(hints.alarm, "button disabled");
  EXPECT_EQ(hints.left, "click or press 'left arrow' key");
  EXPECT_EQ(hints.right, "click or press 'right arrow' key");

  bindings[4].KeyIndex = 44;
  bindings[1].KeyIndex = 0;
  hints = buildHints(bindings);
  EXPECT_EQ(hints.right, "click or press 'spacebar'");
  EXPECT_EQ(hints.time, "click or press  to view current time (hold to view alarm time)");
}
