#include "input/pad_mapping.h"

#include <gtest/gtest.h>

#include "input/button_holds.h"

using namespace mk::input;
using Direction = StickAxis::Direction;

// A worn stick rests off centre and a thumb wavers near the threshold: a
// direction is pressed only past half the travel and let go only below a
// third, so neither presses nor chatters.
TEST(StickAxis, PressesPastHalfAndReleasesBelowAThird) {
  StickAxis axis;
  EXPECT_EQ(axis.update(6553), Direction::None) << "20 % is a resting stick";
  EXPECT_EQ(axis.update(-6553), Direction::None);
  EXPECT_EQ(axis.update(16000), Direction::None) << "just short of half";
  EXPECT_EQ(axis.update(16384), Direction::Positive);
  EXPECT_EQ(axis.update(13000), Direction::Positive) << "between a third and half it stays pressed";
  EXPECT_EQ(axis.update(11000), Direction::Positive);
  EXPECT_EQ(axis.update(10900), Direction::None);
  EXPECT_EQ(axis.update(13000), Direction::None) << "and stays released until past half again";
  EXPECT_EQ(axis.update(-32768), Direction::Negative) << "the full negative travel";
}

TEST(StickAxis, AStickFlickedAcrossTurnsAtOnce) {
  StickAxis axis;
  axis.update(-20000);
  EXPECT_EQ(axis.update(20000), Direction::Positive);
  EXPECT_EQ(axis.update(-12000), Direction::None) << "the other side below half presses nothing";
}

// Key, mouse and every pad control are sources of their own: the button is
// released to the game once, when the last source lets go, and a source
// that never pressed cannot release it.
TEST(ButtonHolds, TheLastSourceToLetGoReleases) {
  ButtonHolds holds;
  const InputSource dpad = InputSource::padControl(3, PadControl::DpadLeft);
  const InputSource stick = InputSource::padControl(3, PadControl::StickLeft);
  const InputSource otherPad = InputSource::padControl(4, PadControl::DpadLeft);
  holds.press(Button::Left, InputSource::key());
  holds.press(Button::Left, dpad);
  holds.press(Button::Left, dpad);  // a repeat
  holds.press(Button::Left, otherPad);
  EXPECT_FALSE(holds.release(Button::Left, stick)) << "the stick never held it";
  EXPECT_FALSE(holds.release(Button::Right, dpad)) << "nor does the D-pad hold RIGHT";
  EXPECT_FALSE(holds.release(Button::Left, InputSource::key()));
  EXPECT_FALSE(holds.release(Button::Left, dpad));
  EXPECT_TRUE(holds.isHeld(Button::Left));
  EXPECT_TRUE(holds.release(Button::Left, otherPad));
  EXPECT_FALSE(holds.isHeld(Button::Left));
  EXPECT_FALSE(holds.release(Button::Left, otherPad)) << "released once only";

  holds.press(Button::Time, InputSource::mouse());
  EXPECT_TRUE(holds.release(Button::Time, InputSource::mouse()));
}
