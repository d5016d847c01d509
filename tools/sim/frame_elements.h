#pragma once

#include <algorithm>
#include <array>

#include "lcd/elements.h"

namespace mk::sim {

// The elements whose visibility only the skin and the window decide: the
// backdrop, logo, face, overlay, clickable buttons and the menu button. The
// game never touches them (it lights segments and shows pressed buttons).
inline constexpr std::array kFrameElements = {
    lcd::ElementId::im_backdrop,    lcd::ElementId::im_backdrop_logo,
    lcd::ElementId::im_background,  lcd::ElementId::btn_alarm_top,
    lcd::ElementId::im_background_screen_top,
    lcd::ElementId::btn_left_top,   lcd::ElementId::btn_right_top,
    lcd::ElementId::btn_acl_top,    lcd::ElementId::btn_time_top,
    lcd::ElementId::btn_game_menu_background, lcd::ElementId::btn_game_menu_top,
};
static_assert(kFrameElements.size() == 11);

constexpr bool isFrameElement(lcd::ElementId id) {
  return std::find(kFrameElements.begin(), kFrameElements.end(), id) != kFrameElements.end();
}

}  // namespace mk::sim
