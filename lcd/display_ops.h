#pragma once

#include <cstdint>

#include "lcd/element_model.h"

namespace mk::lcd {

// Group operations on the LCD segments. `show` true lights, false darkens.

// The whole display: with true the power-on look (12:00 AM, colon, sound mark,
// three miss marks, every playfield segment but a few); with false all dark.
// The four digit positions are made visible either way; dark means blank.
void Vid_Show_All(ElementModel& display, bool show);

void Vid_Show_All_Hero(ElementModel& display, bool show);
void Vid_Show_All_Enemy(ElementModel& display, bool show);
void Vid_Show_All_Weapon(ElementModel& display, bool show);

// The item paths and side pictures. im_item_3_2, im_item_3_2a and the caught
// items stay dark even when the rest is lit.
void Vid_Show_All_Item(ElementModel& display, bool show);

// Draws the hero in `lane` (1..3) with the leg picture `frame` selects
// (2: leg_1, 3: leg_2, anything else neither), leaving the attack picture
// alone; erasing darkens all four pictures of the lane, the attack included.
void Vid_Show_Hero(ElementModel& display, int lane, int frame, bool show);

// Lays `value` out on the four digit positions: at least three digits with
// leading zeros, a leading 1 for 1000..1999, counting on from 0 again at 2000.
// With show false only positions 2 to 4 are blanked.
void Vid_Show_Panel_Score(ElementModel& display, std::int32_t value, bool show);

// Lights the first `count` miss marks and darkens the others.
void Vid_Show_Panel_Miss(ElementModel& display, std::int32_t count);

}  // namespace mk::lcd
