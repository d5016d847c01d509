// The rules every stored value is read by, whatever store holds it: a whole
// decimal number in 32 bits with an optional sign, anything else the default;
// a boolean is such a number, true unless 0. And the table that names every
// value with its default, read through by everyone.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/persistent_settings.h"
#include "settings/settings_store.h"

namespace mk::settings {
namespace {

struct NumberCase {
  const char* text;
  bool number;
  int value;
};

TEST(StoredNumbers, AreWholeDecimal32BitNumbersWithAnOptionalSign) {
  const NumberCase cases[] = {
      {"39", true, 39},           {"0", true, 0},
      {"-1", true, -1},           {"+5", true, 5},
      {"007", true, 7},           {"2147483647", true, INT_MAX},
      {"-2147483648", true, INT_MIN}, {"2147483648", false, 0},
      {"-2147483649", false, 0},  {"", false, 0},
      {"+", false, 0},            {"-", false, 0},
      {"+-5", false, 0},          {"-+5", false, 0},
      {"++5", false, 0},          {"12abc", false, 0},
      {"abc", false, 0},          {" 5", false, 0},
      {"5 ", false, 0},           {"0x10", false, 0},
      {"1,2", false, 0},          {"3.0", false, 0},
  };
  for (const NumberCase& c : cases) {
    int value = 4242;
    EXPECT_EQ(parseStoredInt(c.text, value), c.number) << "'" << c.text << "'";
    EXPECT_EQ(value, c.number ? c.value : 4242) << "'" << c.text << "' leaves the value alone when no number";
  }
}

TEST(StoredNumbers, TextThatIsNoNumberReadsAsTheDefaultAndBooleansAreNonZero) {
  MemorySettingsStore store;
  store.setText("Text", "12x");
  store.setText("Two", "2");
  store.setText("MinusOne", "-1");
  store.setText("Zero", "0");
  store.setText("PlusZero", "+0");
  EXPECT_EQ(store.readInt("Text", 7), 7);
  EXPECT_EQ(store.readInt("Absent", -3), -3);
  EXPECT_TRUE(store.readBool("Two", false));
  EXPECT_TRUE(store.readBool("MinusOne", false));
  EXPECT_FALSE(store.readBool("Zero", true));
  EXPECT_FALSE(store.readBool("PlusZero", true));
  EXPECT_TRUE(store.readBool("Text", true)) << "no number: the default";
  EXPECT_FALSE(store.readBool("Text", false));
  store.writeBool("Flag", true);
  store.writeBool("Other", false);
  EXPECT_EQ(store.values().at("Flag"), "1");
  EXPECT_EQ(store.values().at("Other"), "0");
}

// The table's defaults are what an empty store reads as; a reader whose own
// state stands in for the default (the high score in memory, the splash's
// check box) is given it only while the value is absent.
TEST(PersistentSettings, EmptyStoreReadsTheTablesDefaultsOrTheReadersOwn) {
  MemorySettingsStore store;
  EXPECT_TRUE(readBool(store, Setting::FullscreenMode));
  EXPECT_TRUE(readBool(store, Setting::SplashScreen));
  EXPECT_EQ(readInt(store, Setting::SoundMode), -1);
  EXPECT_EQ(readInt(store, Setting::HiScore1), 0);
  const int keys[] = {2, 6, 39, 40};
  for (int n = 1; n <= 4; ++n) EXPECT_EQ(readInt(store, keySetting(n)), keys[n - 1]) << "Key" << n;

  EXPECT_FALSE(readBool(store, Setting::SplashScreen, false));
  EXPECT_EQ(readInt(store, Setting::HiScore2, 55), 55);
  store.setText("SplashScreen", "1");
  store.setText("HiScore2", "12");
  EXPECT_TRUE(readBool(store, Setting::SplashScreen, false)) << "a stored value wins over the reader's own";
  EXPECT_EQ(readInt(store, Setting::HiScore2, 55), 12);

  writeBool(store, Setting::FullscreenMode, false);
  writeInt(store, keySetting(3), 11);
  EXPECT_EQ(store.values().at("FullscreenMode"), "0");
  EXPECT_EQ(store.values().at("Key3"), "11");
}

TEST(PersistentSettings, NameEveryValueOnceUnderItsStoredName) {
  const char* names[] = {"FullscreenMode", "Key1", "Key2", "Key3", "Key4",
                         "HiScore1", "HiScore2", "SoundMode", "SplashScreen"};
  ASSERT_EQ(kSettings.size(), std::size(names));
  for (std::size_t i = 0; i < kSettings.size(); ++i) EXPECT_EQ(kSettings[i].name, names[i]);
}

}  // namespace
}  // namespace mk::settings
