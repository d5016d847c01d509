#include "ui/keys_form.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "events.h"
#include "settings/settings_store.h"

using namespace mk::input;
using mk::ui::TKeysForm;
using mk::settings::MemorySettingsStore;

namespace {

const QColor kWhite(Qt::white);
const QColor kRed(255, 0, 0);

QColor captionColour(QLabel* label) { return label->palette().color(QPalette::WindowText); }

int listPosition(std::string_view text) {
  for (std::size_t i = 0; i < KeyNames.size(); ++i)
    if (KeyNames[i].list() == text) return static_cast<int>(i);
  return -1;
}

KeyBindings loadedFrom(MemorySettingsStore& store) {
  KeyBindings bindings;
  bindings.load(store);
  return bindings;
}

// The dialog is created after the main window has loaded the bindings.
struct Rig {
  explicit Rig(MemorySettingsStore initial = {}) : store(std::move(initial)) {}
  MemorySettingsStore store;
  KeyBindings bindings = loadedFrom(store);
  QWidget mainWindow;
  int changes = 0;
  TKeysForm form{bindings, store, &mainWindow, [this] { ++changes; }};
};

}  // namespace

TEST(KeysForm, OpensOnTheStoredBindingsWithTheTableEntries) {
  Rig rig;
  for (QComboBox* list : rig.form.lists()) {
    ASSERT_EQ(list->count(), 44);
    EXPECT_EQ(list->itemText(43), "<SPACEBAR>");
  }
  EXPECT_EQ(rig.form.cb_1->currentText(), "1");
  EXPECT_EQ(rig.form.cb_2->currentText(), "5");
  EXPECT_EQ(rig.form.cb_3->currentText(), "<LEFT ARROW>");
  EXPECT_EQ(rig.form.cb_4->currentText(), "<RIGHT ARROW>");
  EXPECT_TRUE(rig.form.btn_accept->isEnabled());

  rig.form.open();
  EXPECT_TRUE(rig.form.isVisible());
  EXPECT_FALSE(rig.mainWindow.isEnabled());
}

// Every list sharing its key turns its caption red, and accept stays off
// until no two lists share a key.
TEST(KeysForm, DuplicatesTurnTheirCaptionsRedAndDisableAccept) {
  Rig rig;
  TKeysForm& f = rig.form;
  f.cb_3->setCurrentIndex(listPosition("1"));
  EXPECT_EQ(captionColour(f.la_1), kRed);
  EXPECT_EQ(captionColour(f.la_4), kRed);  // "Left", beside cb_3
  EXPECT_EQ(captionColour(f.la_2), kWhite);
  EXPECT_EQ(captionColour(f.la_3), kWhite);
  EXPECT_FALSE(f.btn_accept->isEnabled());

  f.cb_3->setCurrentIndex(listPosition("Q"));
  for (QLabel* label : f.captions()) EXPECT_EQ(captionColour(label), kWhite);
  EXPECT_TRUE(f.btn_accept->isEnabled());

  for (QComboBox* list : {f.cb_1, f.cb_2, f.cb_3}) list->setCurrentIndex(listPosition("<SHIFT>"));
  EXPECT_EQ(captionColour(f.la_1), kRed);
  EXPECT_EQ(captionColour(f.la_2), kRed);
  EXPECT_EQ(captionColour(f.la_4), kRed);
  EXPECT_EQ(captionColour(f.la_3), kWhite);
  EXPECT_FALSE(f.btn_accept->isEnabled());

  // Enter while accept is off does nothing.
  f.open();
  mk::test::sendKey(f.cb_1, QEvent::KeyPress, Qt::Key_Return);
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(rig.changes, 0);
}

// The lists' first entry is the 0 key (index 1): it is chosen, shown and
// stored like any other, and so is the last.
TEST(KeysForm, TheFirstAndLastEntriesOfTheListAreKeysLikeAnyOther) {
  MemorySettingsStore initial;
  initial.setText("Key2", "1");
  Rig rig(std::move(initial));
  EXPECT_EQ(rig.form.cb_2->currentIndex(), 0);
  EXPECT_EQ(rig.form.cb_2->currentText(), "0");
  EXPECT_TRUE(rig.form.btn_accept->isEnabled());

  rig.form.cb_2->setCurrentIndex(1);
  rig.form.cb_1->setCurrentIndex(0);
  rig.form.cb_4->setCurrentIndex(43);
  ASSERT_TRUE(rig.form.btn_accept->isEnabled());
  rig.form.btn_accept->click();
  EXPECT_EQ(rig.store.values().at("Key1"), "1");
  EXPECT_EQ(rig.store.values().at("Key4"), "44");
  EXPECT_EQ(rig.bindings.buttonForKey('0'), Button::Time);
  EXPECT_EQ(rig.bindings.buttonForKey(' '), Button::Right);
}

// Accept stores all four choices, rebinds at once and gives the main window
// back its input.
TEST(KeysForm, AcceptStoresRebindsAndCallsBack) {
  Rig rig;
  rig.form.open();
  rig.form.cb_4->setCurrentIndex(listPosition("<SPACEBAR>"));
  rig.form.btn_accept->click();

  EXPECT_EQ(rig.store.values().at("Key1"), "2");
  EXPECT_EQ(rig.store.values().at("Key2"), "6");
  EXPECT_EQ(rig.store.values().at("Key3"), "39");
  EXPECT_EQ(rig.store.values().at("Key4"), "44");
  EXPECT_EQ(rig.bindings.buttonForKey(32), Button::Right);
  EXPECT_EQ(rig.bindings.buttonForKey(39), std::nullopt);
  EXPECT_EQ(buildHints(rig.bindings).right, "click or press 'spacebar'");
  EXPECT_EQ(rig.changes, 1);
  EXPECT_TRUE(rig.mainWindow.isEnabled());
  EXPECT_FALSE(rig.form.isVisible());

  // Enter, seen before the focused list, accepts as well.
  rig.form.open();
  rig.form.cb_1->setCurrentIndex(listPosition("T"));
  mk::test::sendKey(rig.form.cb_1, QEvent::KeyPress, Qt::Key_Enter);
  EXPECT_EQ(rig.store.values().at("Key1"), "30");
  EXPECT_EQ(rig.changes, 2);
  EXPECT_FALSE(rig.form.isVisible());
}

// Escape (and the window manager's close) leave without storing, but the
// lists keep what the player picked for the next opening.
TEST(KeysForm, EscapeLeavesWithoutStoringAndKeepsTheSelections) {
  Rig rig;
  const auto stored = rig.store.values();
  rig.form.open();
  rig.form.cb_2->setCurrentIndex(listPosition("1"));
  mk::test::sendKey(rig.form.cb_2, QEvent::KeyPress, Qt::Key_Escape);
  EXPECT_FALSE(rig.form.isVisible());
  EXPECT_TRUE(rig.mainWindow.isEnabled());
  EXPECT_EQ(rig.store.values(), stored);
  EXPECT_EQ(rig.bindings.buttonForKey(53), Button::Acl);
  EXPECT_EQ(rig.changes, 0);

  rig.form.open();
  EXPECT_EQ(rig.form.cb_2->currentText(), "1");
  EXPECT_EQ(captionColour(rig.form.la_2), kRed);
  EXPECT_FALSE(rig.form.btn_accept->isEnabled());
  rig.form.close();
  EXPECT_FALSE(rig.form.isVisible());
  EXPECT_TRUE(rig.mainWindow.isEnabled());
  EXPECT_EQ(rig.store.values(), stored);
}

// A hand-edited index outside 1..44 selects nothing; accept cannot store an
// index outside the table until a key is picked.
TEST(KeysForm, OutOfRangeStoredIndexLeavesTheListEmptyAndAcceptOff) {
  MemorySettingsStore store;
  store.setText("Key2", "77");
  Rig rig(store);
  EXPECT_EQ(rig.form.cb_2->currentIndex(), -1);
  EXPECT_FALSE(rig.form.btn_accept->isEnabled());
  rig.form.btn_acceptClick();
  EXPECT_EQ(rig.store.values().at("Key2"), "77");
  rig.form.cb_2->setCurrentIndex(listPosition("Z"));
  EXPECT_TRUE(rig.form.btn_accept->isEnabled());
  rig.form.btn_acceptClick();
  EXPECT_EQ(rig.store.values().at("Key2"), "36");
}
