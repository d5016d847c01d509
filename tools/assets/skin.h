#pragma once

// The default skin as the generator builds it: one picture (or none) and one
// box per skin slot, in face coordinates.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <map>
#include <string_view>
#include <vector>

#include "tools/assets/kit.h"

namespace mk::assets {

// The 78 skin pictures in their configuration order, with what each shows. The
// Readme's slot table and the comments of Config.ini are written from here.
struct SlotInfo {
  std::string_view element;
  std::string_view meaning;
};
inline constexpr std::array<SlotInfo, 78> kSlots{{
    {"im_background", "the handheld's face, under everything else"},
    {"im_background_screen_top", "glass over the LCD, above every segment"},
    {"btn_time_down", "TIME button, pressed"},
    {"btn_time_top", "TIME button, clickable picture"},
    {"btn_acl_down", "ACL button, pressed"},
    {"btn_acl_top", "ACL button, clickable picture"},
    {"btn_alarm_top", "ALARM button (no function)"},
    {"btn_left_down", "LEFT button, pressed"},
    {"btn_left_top", "LEFT button, clickable picture"},
    {"btn_right_down", "RIGHT button, pressed"},
    {"btn_right_top", "RIGHT button, clickable picture"},
    {"im_panel_game_a", "GAME A mark"},
    {"im_panel_game_b", "GAME B mark"},
    {"im_panel_time_am", "AM mark"},
    {"im_panel_time_pm", "PM mark"},
    {"im_panel_time_colon", "colon between hours and minutes"},
    {"im_panel_sound", "sound mark"},
    {"im_panel_miss_1", "first miss mark"},
    {"im_panel_miss_2", "second miss mark"},
    {"im_panel_miss_3", "third miss mark"},
    {"im_panel_digit_pos_1", "digit position 1 (left); no picture of its own"},
    {"im_panel_digit_pos_2", "digit position 2; no picture of its own"},
    {"im_panel_digit_pos_3", "digit position 3; no picture of its own"},
    {"im_panel_digit_pos_4", "digit position 4 (right); no picture of its own"},
    {"im_panel_number_0", "digit glyph 0 (copied into the digit positions)"},
    {"im_panel_number_1", "digit glyph 1"},
    {"im_panel_number_2", "digit glyph 2"},
    {"im_panel_number_3", "digit glyph 3"},
    {"im_panel_number_4", "digit glyph 4"},
    {"im_panel_number_5", "digit glyph 5"},
    {"im_panel_number_6", "digit glyph 6"},
    {"im_panel_number_7", "digit glyph 7"},
    {"im_panel_number_8", "digit glyph 8"},
    {"im_panel_number_9", "digit glyph 9"},
    {"im_enemy_1_1", "snake in lane 1, lowest stage (the one struck)"},
    {"im_enemy_2_1", "snake in lane 2, lowest stage"},
    {"im_enemy_3_1", "snake in lane 3, lowest stage"},
    {"im_enemy_1_2", "snake in lane 1, middle stage"},
    {"im_enemy_2_2", "snake in lane 2, middle stage"},
    {"im_enemy_3_2", "snake in lane 3, middle stage"},
    {"im_enemy_1_3", "snake in lane 1, highest stage"},
    {"im_enemy_2_3", "snake in lane 2, highest stage"},
    {"im_enemy_3_3", "snake in lane 3, highest stage"},
    {"im_hero_1_body", "keeper in lane 1, body"},
    {"im_hero_2_body", "keeper in lane 2, body"},
    {"im_hero_3_body", "keeper in lane 3, body"},
    {"im_hero_1_leg_1", "keeper in lane 1, first leg picture"},
    {"im_hero_2_leg_1", "keeper in lane 2, first leg picture"},
    {"im_hero_3_leg_1", "keeper in lane 3, first leg picture"},
    {"im_hero_1_leg_2", "keeper in lane 1, second leg picture"},
    {"im_hero_2_leg_2", "keeper in lane 2, second leg picture"},
    {"im_hero_3_leg_2", "keeper in lane 3, second leg picture"},
    {"im_hero_1_attack", "keeper in lane 1, net swung up"},
    {"im_hero_2_attack", "keeper in lane 2, net swung up"},
    {"im_hero_3_attack", "keeper in lane 3, net swung up"},
    {"im_weapon_1", "net at rest in lane 1"},
    {"im_weapon_2", "net at rest in lane 2"},
    {"im_weapon_3", "net at rest in lane 3"},
    {"im_item_0_0", "frog on the shared start"},
    {"im_item_1_1", "frog in lane 1, step 1"},
    {"im_item_2_1", "frog in lane 2, step 1"},
    {"im_item_3_1", "frog in lane 3, step 1"},
    {"im_item_1_1a", "frog on a detour beside lane 1 step 1, first picture"},
    {"im_item_1_1b", "frog on a detour beside lane 1 step 1, second picture"},
    {"im_item_1_2", "frog in lane 1, step 2"},
    {"im_item_2_2", "frog in lane 2, step 2"},
    {"im_item_3_2", "frog in lane 3, step 2"},
    {"im_item_3_2a", "frog on a detour beside lane 3 step 2, first picture"},
    {"im_item_3_2b", "frog on a detour beside lane 3 step 2, second picture"},
    {"im_item_1_3", "frog in lane 1, step 3 (the end step, above the keeper)"},
    {"im_item_2_3", "frog in lane 2, step 3"},
    {"im_item_3_3", "frog in lane 3, step 3"},
    {"im_item_2_4", "frog in lane 2, step 4 (the end step)"},
    {"im_item_3_4", "frog in lane 3, step 4"},
    {"im_item_3_5", "frog in lane 3, step 5 (the end step)"},
    {"im_item_got_1", "frog caught in the net, lane 1"},
    {"im_item_got_2", "frog caught in the net, lane 2"},
    {"im_item_got_3", "frog caught in the net, lane 3"},
}};

// One slot's picture and box. A slot without a file (the digit positions)
// has a null image.
struct SkinPicture {
  QString file;  // file name inside Graphics/Skin/, empty for none
  QImage image;
  QRect box;
};

struct Skin {
  std::map<QString, SkinPicture> pictures;  // by element name
  QSize faceSize;
  QRect lcd;  // the LCD window, face coordinates
  // The press pictures of the buttons are in pictures; these are the element
  // names of the playfield in the order the window stacks them.
};

// Face geometry shared by the face, the LCD art and the buttons.
inline constexpr int kFaceWidth = 611;
inline constexpr int kFaceHeight = 322;
inline constexpr QRect kLcdRect{142, 28, 327, 236};

// The playfield and panel segments (pictures 12 to 78), placed on the LCD.
void addLcdSegments(Skin& skin);
// The frog of the segment art, facing right around its centre (about 30 x 17
// pixels), for artwork elsewhere.
QPainterPath frogFigure(bool leaping);
// The face, the glass over the LCD and the button pictures (pictures 1 to 11).
void addFaceAndButtons(Skin& skin);

// Lights the skin the way the handheld's all-segments display does and
// returns the picture the window would show (no pressed buttons).
QImage composeAllSegments(const Skin& skin);
// The same composition for any set of lit elements and four digits
// (-1 for a blank position).
QImage compose(const Skin& skin, const std::vector<QString>& lit, const std::array<int, 4>& digits);

// A few moments of play composed into folder, to look at while drawing.
void writeScenes(const Skin& skin, const QString& folder);

void writeSkin(const Skin& skin, const Paths& paths);
QByteArray configIni(const Skin& skin);

// The stacking order of the main window's pictures, bottom to top (names of
// skin pictures only).
const std::vector<QString>& stackingOrder();

}  // namespace mk::assets
