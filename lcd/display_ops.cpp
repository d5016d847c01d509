#include "lcd/display_ops.h"

#include "lcd/segment_tables.h"

namespace mk::lcd {

namespace {

void setAll(ElementModel& display, ElementId first, ElementId last, bool show) {
  for (auto i = index(first); i <= index(last); ++i) display.setVisible(static_cast<ElementId>(i), show);
}

}  // namespace

void Vid_Show_All(ElementModel& display, bool show) {
  for (int p = 1; p <= 4; ++p) display.show(PanelDigits[p]);
  static constexpr int kNoon[4] = {1, 2, 0, 0};
  for (int p = 1; p <= 4; ++p) display.setDigit(p, show ? std::optional<int>(kNoon[p - 1]) : std::nullopt);

  display.setVisible(im_panel_time_am, show);
  display.hide(im_panel_time_pm);
  display.setVisible(im_panel_time_colon, show);
  display.setVisible(im_panel_sound, show);
  display.hide(im_panel_game_a);
  display.hide(im_panel_game_b);
  Vid_Show_Panel_Miss(display, show ? 3 : 0);

  Vid_Show_All_Enemy(display, show);
  Vid_Show_All_Weapon(display, show);
  Vid_Show_All_Hero(display, show);
  Vid_Show_All_Item(display, show);
}

void Vid_Show_All_Hero(ElementModel& display, bool show) {
  for (std::size_t lane = 1; lane <= 3; ++lane) {
    for (std::size_t part = 1; part <= 4; ++part) display.setVisible(HeroSegments[lane][part], show);
  }
}

void Vid_Show_All_Enemy(ElementModel& display, bool show) {
  for (std::size_t lane = 1; lane <= 3; ++lane) {
    for (std::size_t stage = 1; stage <= 3; ++stage) display.setVisible(EnemySegments[lane][stage], show);
  }
}

void Vid_Show_All_Weapon(ElementModel& display, bool show) {
  for (std::size_t lane = 1; lane <= 3; ++lane) display.setVisible(WeaponSegments[lane], show);
}

void Vid_Show_All_Item(ElementModel& display, bool show) {
  for (int step = 0; step <= endStep(1); ++step) display.setVisible(*ItemSegments[1][step], show);
  for (int step = 1; step <= endStep(2); ++step) display.setVisible(*ItemSegments[2][step], show);
  display.setVisible(im_item_3_1, show);
  display.hide(im_item_3_2);
  setAll(display, im_item_3_3, im_item_3_5, show);
  display.setVisible(im_item_1_1a, show);
  display.setVisible(im_item_1_1b, show);
  display.hide(im_item_3_2a);
  display.setVisible(im_item_3_2b, show);
  for (std::size_t lane = 1; lane <= 3; ++lane) display.hide(ItemGotSegments[lane]);
}

void Vid_Show_Hero(ElementModel& display, int lane, int frame, bool show) {
  if (lane < 1 || lane > 3) return;
  const auto& hero = HeroSegments[static_cast<std::size_t>(lane)];
  if (show) {
    display.show(hero[kBody]);
    display.setVisible(hero[kLeg1], frame == 2);
    display.setVisible(hero[kLeg2], frame == 3);
  } else {
    for (std::size_t part = 1; part <= 4; ++part) display.hide(hero[part]);
  }
}

void Vid_Show_Panel_Score(ElementModel& display, std::int32_t value, bool show) {
  // A negative number has no layout on the panel; a corrupt stored high score
  // must not index past the glyphs, so it reads as 0.
  std::int32_t n = value < 0 ? 0 : value % 2000;
  if (!show) {
    for (int p = 2; p <= 4; ++p) display.setDigit(p, std::nullopt);
    return;
  }
  display.setDigit(1, n >= 1000 ? std::optional<int>(n / 1000 % 10) : std::nullopt);
  display.setDigit(2, n / 100 % 10);
  display.setDigit(3, n / 10 % 10);
  display.setDigit(4, n % 10);
}

void Vid_Show_Panel_Miss(ElementModel& display, std::int32_t count) {
  for (std::size_t i = 1; i <= 3; ++i) display.setVisible(PanelMissMarks[i], static_cast<std::int32_t>(i) <= count);
}

}  // namespace mk::lcd
