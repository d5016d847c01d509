#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace mk::lcd {

// Every picture element of the main window, bottom to top: a later element
// draws over an earlier one where they overlap. Each entry is
// (name, drawn transparent?, shown when the window is created?).
// Segments start hidden; the clickable button pictures, the face, the screen
// overlay and the backdrop start shown; pressed pictures start hidden.
#define MK_LCD_ELEMENTS(X)                                                      \
  X(im_backdrop, false, true)                                                   \
  X(im_backdrop_logo, true, true)                                               \
  X(im_background, true, true)                                                  \
  X(btn_time_down, false, false)                                                \
  X(btn_acl_down, false, false)                                                 \
  X(btn_left_down, false, false)                                                \
  X(btn_right_down, false, false)                                               \
  X(btn_alarm_top, false, true)                                                 \
  X(im_hero_1_body, true, false)                                                \
  X(im_hero_1_leg_1, true, false)                                               \
  X(im_hero_1_leg_2, true, false)                                               \
  X(im_hero_1_attack, true, false)                                              \
  X(im_item_got_1, true, false)                                                 \
  X(im_hero_2_body, true, false)                                                \
  X(im_hero_2_leg_1, true, false)                                               \
  X(im_hero_2_leg_2, true, false)                                               \
  X(im_hero_2_attack, true, false)                                              \
  X(im_item_got_2, true, false)                                                 \
  X(im_hero_3_body, true, false)                                                \
  X(im_hero_3_leg_1, true, false)                                               \
  X(im_hero_3_leg_2, true, false)                                               \
  X(im_hero_3_attack, true, false)                                              \
  X(im_item_got_3, true, false)                                                 \
  X(im_enemy_1_2, true, false)                                                  \
  X(im_enemy_1_3, true, false)                                                  \
  X(im_enemy_1_1, true, false)                                                  \
  X(im_weapon_1, true, false)                                                   \
  X(im_enemy_2_2, true, false)                                                  \
  X(im_enemy_2_3, true, false)                                                  \
  X(im_enemy_2_1, true, false)                                                  \
  X(im_weapon_2, true, false)                                                   \
  X(im_enemy_3_2, true, false)                                                  \
  X(im_enemy_3_3, true, false)                                                  \
  X(im_enemy_3_1, true, false)                                                  \
  X(im_weapon_3, true, false)                                                   \
  X(im_item_1_1, true, false)                                                   \
  X(im_item_1_1a, true, false)                                                  \
  X(im_item_1_1b, true, false)                                                  \
  X(im_item_1_2, true, false)                                                   \
  X(im_item_1_3, true, false)                                                   \
  X(im_item_0_0, true, false)                                                   \
  X(im_item_2_1, true, false)                                                   \
  X(im_item_2_2, true, false)                                                   \
  X(im_item_2_3, true, false)                                                   \
  X(im_item_2_4, true, false)                                                   \
  X(im_item_3_1, true, false)                                                   \
  X(im_item_3_2, true, false)                                                   \
  X(im_item_3_2a, true, false)                                                  \
  X(im_item_3_2b, true, false)                                                  \
  X(im_item_3_3, true, false)                                                   \
  X(im_item_3_4, true, false)                                                   \
  X(im_item_3_5, true, false)                                                   \
  X(im_panel_time_am, true, false)                                              \
  X(im_panel_time_pm, true, false)                                              \
  X(im_panel_digit_pos_1, true, false)                                          \
  X(im_panel_digit_pos_2, true, false)                                          \
  X(im_panel_time_colon, true, false)                                           \
  X(im_panel_digit_pos_3, true, false)                                          \
  X(im_panel_digit_pos_4, true, false)                                          \
  X(im_panel_sound, true, false)                                                \
  X(im_panel_game_b, true, false)                                               \
  X(im_panel_game_a, true, false)                                               \
  X(im_panel_miss_1, true, false)                                               \
  X(im_panel_miss_2, true, false)                                               \
  X(im_panel_miss_3, true, false)                                               \
  X(im_panel_number_0, true, false)                                             \
  X(im_panel_number_1, true, false)                                             \
  X(im_panel_number_2, true, false)                                             \
  X(im_panel_number_3, true, false)                                             \
  X(im_panel_number_4, true, false)                                             \
  X(im_panel_number_5, true, false)                                             \
  X(im_panel_number_6, true, false)                                             \
  X(im_panel_number_7, true, false)                                             \
  X(im_panel_number_8, true, false)                                             \
  X(im_panel_number_9, true, false)                                             \
  X(im_background_screen_top, false, true)                                      \
  X(btn_left_top, false, true)                                                  \
  X(btn_right_top, false, true)                                                 \
  X(btn_acl_top, false, true)                                                   \
  X(btn_time_top, false, true)                                                  \
  X(btn_game_menu_background, false, false)                                     \
  X(btn_game_menu_top, false, false)

enum class ElementId : int {
#define MK_ENUM_ENTRY(name, transparent, visible) name,
  MK_LCD_ELEMENTS(MK_ENUM_ENTRY)
#undef MK_ENUM_ENTRY
};

struct ElementInfo {
  std::string_view name;
  bool transparent;
  bool initiallyVisible;
};

inline constexpr std::array kElementInfo = {
#define MK_INFO_ENTRY(name, transparent, visible) ElementInfo{#name, transparent, visible},
    MK_LCD_ELEMENTS(MK_INFO_ENTRY)
#undef MK_INFO_ENTRY
};

inline constexpr std::size_t kElementCount = kElementInfo.size();
static_assert(kElementCount == 82, "2 backdrop, face, 5 button pictures, 44 playfield, 23 panel, overlay, 4 buttons, 2 menu");

constexpr std::size_t index(ElementId id) { return static_cast<std::size_t>(id); }
constexpr std::string_view nameOf(ElementId id) { return kElementInfo[index(id)].name; }

}  // namespace mk::lcd
