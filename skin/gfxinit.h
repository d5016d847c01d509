#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "lcd/element_model.h"
#include "lcd/segment_tables.h"
#include "skin/skin_host.h"

namespace mk::skin {

// The 78 skin slots: slot n is configured by the section "Image<n>".
// ALARM (slot 7) follows the ACL pair.
inline constexpr lcd::OneBased<lcd::ElementId, 78> SkinImages{{{
    lcd::im_background, lcd::im_background_screen_top,
    lcd::btn_time_down, lcd::btn_time_top,
    lcd::btn_acl_down, lcd::btn_acl_top,
    lcd::btn_alarm_top,
    lcd::btn_left_down, lcd::btn_left_top,
    lcd::btn_right_down, lcd::btn_right_top,
    lcd::im_panel_game_a, lcd::im_panel_game_b,
    lcd::im_panel_time_am, lcd::im_panel_time_pm, lcd::im_panel_time_colon,
    lcd::im_panel_sound,
    lcd::im_panel_miss_1, lcd::im_panel_miss_2, lcd::im_panel_miss_3,
    lcd::im_panel_digit_pos_1, lcd::im_panel_digit_pos_2, lcd::im_panel_digit_pos_3, lcd::im_panel_digit_pos_4,
    lcd::im_panel_number_0, lcd::im_panel_number_1, lcd::im_panel_number_2, lcd::im_panel_number_3,
    lcd::im_panel_number_4, lcd::im_panel_number_5, lcd::im_panel_number_6, lcd::im_panel_number_7,
    lcd::im_panel_number_8, lcd::im_panel_number_9,
    lcd::im_enemy_1_1, lcd::im_enemy_2_1, lcd::im_enemy_3_1,
    lcd::im_enemy_1_2, lcd::im_enemy_2_2, lcd::im_enemy_3_2,
    lcd::im_enemy_1_3, lcd::im_enemy_2_3, lcd::im_enemy_3_3,
    lcd::im_hero_1_body, lcd::im_hero_2_body, lcd::im_hero_3_body,
    lcd::im_hero_1_leg_1, lcd::im_hero_2_leg_1, lcd::im_hero_3_leg_1,
    lcd::im_hero_1_leg_2, lcd::im_hero_2_leg_2, lcd::im_hero_3_leg_2,
    lcd::im_hero_1_attack, lcd::im_hero_2_attack, lcd::im_hero_3_attack,
    lcd::im_weapon_1, lcd::im_weapon_2, lcd::im_weapon_3,
    lcd::im_item_0_0, lcd::im_item_1_1, lcd::im_item_2_1, lcd::im_item_3_1,
    lcd::im_item_1_1a, lcd::im_item_1_1b,
    lcd::im_item_1_2, lcd::im_item_2_2, lcd::im_item_3_2, lcd::im_item_3_2a, lcd::im_item_3_2b,
    lcd::im_item_1_3, lcd::im_item_2_3, lcd::im_item_3_3,
    lcd::im_item_2_4, lcd::im_item_3_4, lcd::im_item_3_5,
    lcd::im_item_got_1, lcd::im_item_got_2, lcd::im_item_got_3,
}}};
static_assert(SkinImages.size() == 78);
inline constexpr int kSkinSlotCount = static_cast<int>(SkinImages.size());

inline constexpr std::string_view kConfigMissingMessage =
    "Configuration file (Config.ini) not found. Please reinstall the game.";

// The in-game menu button's size while the menu is closed.
inline constexpr Size kGameMenuButtonSize{36, 32};
// The logo element before any logo is loaded.
inline constexpr lcd::Box kInitialLogoBox{0, 0, 64, 64};

// Gives the elements the boxes the main window creates them with: the
// backdrop covering the initial client area, the empty logo at 0,0.
void prepareWindowElements(lcd::ElementModel& model);

enum class SkinPassOutcome {
  Completed,
  ConfigMissing,  // message shown, termination asked for, menu button still set
  Abandoned,      // a picture or colour error was shown; later steps did not run
};

struct SkinPassResult {
  SkinPassOutcome outcome = SkinPassOutcome::Completed;
  // The one placeholder picture this pass gave to every slot whose file is
  // missing, so a slot showing it can be told from one with a real picture.
  lcd::Picture placeholder;
};

// Dresses the main window from Config.ini: client size, background and key
// colour, full-screen backdrop and logo, and the picture and box of each of
// the 78 skin slots. Picture folders resolve against the current directory.
// Never changes whether a slot is shown. Pictures of slots whose Filename is
// empty or "nil" are kept from earlier passes.
SkinPassResult Gfx_Init_Skin(lcd::ElementModel& model, SkinHost& host, bool FullscreenMode);

// Where a page of the manual comes from, as the loader found it.
struct ManualPage {
  enum class Source {
    None,         // no picture: loading stopped at this page or before it
    Placeholder,  // no file, or one that no longer decodes
    File,
  };
  Source source = Source::None;
  std::filesystem::path named;  // the file as the skin names it; messages about the page start with it
  std::filesystem::path found;  // the file on disk, for a page from a file
};

// A page as the manual window is to show it.
struct ShownManualPage {
  lcd::Picture picture;  // null for a page with no picture
  std::string error;     // the decoder's message, the one time the page's file failed to decode
};

// What the manual window shows: its client size and the twelve pages. The
// pages' files are checked when the window is created but decoded only to be
// shown, so the window need hold no more than the one page on screen.
struct ManualPages {
  Size clientSize{630, 380};
  std::array<ManualPage, 12> pages;  // pages[0] is page 1
  lcd::Picture placeholder;          // shared by every page that shows it
  std::string error;                 // the check's message for a page that failed it; loading stopped there

  // Page n's picture, decoded from its file now. A file that no longer
  // decodes (changed or removed since the check) gives the placeholder from
  // then on, and its message this once.
  ShownManualPage pageToShow(int n);
};

// Reads [Manual] of the Config.ini at configPath (all defaults when it is
// missing) and checks pages 1 to 12 in ManualDir: each file's headers and
// length, as far as they tell whether it decodes. A page without a file
// gets the placeholder; at a page that fails, loading stops with its message.
ManualPages Gfx_Init_Manual(const std::filesystem::path& configPath);

}  // namespace mk::skin
