#pragma once

// Where things stand on the LCD, in LCD coordinates (the LCD window's
// top-left corner is 0,0; it is 327 x 236). The segment art and the printed
// decoration under it both read these, so a pad always lies under its frog.
//
//                  0_0
//   1_1b 1_1a 1_1   2_1   3_1
//          1_2      2_2     3_2 3_2a 3_2b
//                   2_3       3_3
//     1_3           2_4         3_4
//                                 3_5
//   [net] keeper [snake]  (three times, one per lane)
//   ------------------------------------------------
//   GAME A/B  note   AM 88:88          miss miss miss

#include <QPointF>
#include <QString>
#include <array>

namespace mk::assets::lcd {

inline constexpr int kWidth = 327;
inline constexpr int kHeight = 236;

// The keeper of lane L stands at x = kLaneX[L-1], his boots on kGround.
inline constexpr std::array<double, 3> kLaneX{59, 157, 255};
inline constexpr double kGround = 197;
// The panel strip below the bank.
inline constexpr double kPanelTop = 203;

enum class Pose { Sitting, Leaping };

struct FrogSpot {
  const char* element;
  QPointF centre;
  bool facingLeft;
  Pose pose;
};

// Every position a frog can take on its way down, with the pose it is drawn in.
inline constexpr std::array<FrogSpot, 17> kFrogSpots{{
    {"im_item_0_0", {157, 13}, true, Pose::Sitting},
    {"im_item_1_1", {121, 34}, true, Pose::Leaping},
    {"im_item_1_1a", {88, 27}, true, Pose::Sitting},
    {"im_item_1_1b", {54, 35}, false, Pose::Sitting},
    {"im_item_1_2", {90, 68}, true, Pose::Leaping},
    {"im_item_1_3", {58, 111}, true, Pose::Sitting},
    {"im_item_2_1", {146, 38}, true, Pose::Leaping},
    {"im_item_2_2", {168, 61}, false, Pose::Leaping},
    {"im_item_2_3", {146, 85}, true, Pose::Leaping},
    {"im_item_2_4", {156, 111}, false, Pose::Sitting},
    {"im_item_3_1", {190, 26}, false, Pose::Leaping},
    {"im_item_3_2", {216, 45}, false, Pose::Leaping},
    {"im_item_3_2a", {251, 33}, false, Pose::Sitting},
    {"im_item_3_2b", {287, 45}, true, Pose::Sitting},
    {"im_item_3_3", {230, 67}, false, Pose::Leaping},
    {"im_item_3_4", {243, 89}, false, Pose::Leaping},
    {"im_item_3_5", {254, 111}, false, Pose::Sitting},
}};

}  // namespace mk::assets::lcd
