#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <optional>

#include "lcd/elements.h"

namespace mk::lcd {

// Lanes, stages, parts, digit positions and miss marks count from 1, as
// everywhere in the handheld's rules; item steps count from 0 (the shared start).
template <typename T, std::size_t N>
struct OneBased {
  std::array<T, N> items;
  constexpr const T& operator[](std::size_t i) const {
    assert(i >= 1 && i <= N);
    return items[i - 1];
  }
  static constexpr std::size_t size() { return N; }
};

using enum ElementId;

// Parts of the hero in one lane.
inline constexpr int kBody = 1;
inline constexpr int kLeg1 = 2;
inline constexpr int kLeg2 = 3;
inline constexpr int kAttack = 4;

inline constexpr OneBased<OneBased<ElementId, 4>, 3> HeroSegments{{{
    {{{im_hero_1_body, im_hero_1_leg_1, im_hero_1_leg_2, im_hero_1_attack}}},
    {{{im_hero_2_body, im_hero_2_leg_1, im_hero_2_leg_2, im_hero_2_attack}}},
    {{{im_hero_3_body, im_hero_3_leg_1, im_hero_3_leg_2, im_hero_3_attack}}},
}}};

// [lane][stage]: stage 1 is the one the hero strikes, stage 3 the highest.
inline constexpr OneBased<OneBased<ElementId, 3>, 3> EnemySegments{{{
    {{{im_enemy_1_1, im_enemy_1_2, im_enemy_1_3}}},
    {{{im_enemy_2_1, im_enemy_2_2, im_enemy_2_3}}},
    {{{im_enemy_3_1, im_enemy_3_2, im_enemy_3_3}}},
}}};

inline constexpr OneBased<ElementId, 3> WeaponSegments{{{im_weapon_1, im_weapon_2, im_weapon_3}}};
inline constexpr OneBased<ElementId, 3> ItemGotSegments{{{im_item_got_1, im_item_got_2, im_item_got_3}}};

// The item paths. Every lane starts at the one shared segment 0_0; lane L ends
// at step L + 2, right above the hero standing in lane L. Side pictures (a, b)
// sit beside lane 1 step 1 and lane 3 step 2; an item on a detour goes to a,
// then b, then back to the step it left.
//
//                         0_0
//            1_1a 1_1b  /  |  \  .
//                  1_1  2_1  3_1
//                  1_2  2_2  3_2  3_2a 3_2b
//                  1_3  2_3  3_3
//                       2_4  3_4
//                            3_5
//               hero:  1    2    3
inline constexpr int kLastStep = 5;
constexpr int endStep(int lane) { return lane + 2; }

using StepRow = std::array<std::optional<ElementId>, kLastStep + 1>;  // [step 0..5]
inline constexpr OneBased<StepRow, 3> ItemSegments{{{
    StepRow{im_item_0_0, im_item_1_1, im_item_1_2, im_item_1_3, std::nullopt, std::nullopt},
    StepRow{im_item_0_0, im_item_2_1, im_item_2_2, im_item_2_3, im_item_2_4, std::nullopt},
    StepRow{im_item_0_0, im_item_3_1, im_item_3_2, im_item_3_3, im_item_3_4, im_item_3_5},
}}};

enum Side : std::size_t { kSideA = 0, kSideB = 1 };
using SideRow = std::array<std::optional<ElementId>, 2>;
inline constexpr OneBased<SideRow, 3> ItemSideSegments{{{
    SideRow{im_item_1_1a, im_item_1_1b},
    SideRow{std::nullopt, std::nullopt},
    SideRow{im_item_3_2a, im_item_3_2b},
}}};

// The step whose side pictures a lane has: an item on a detour leaves it for
// side a and comes back to it from side b. Lane 2 has none.
inline constexpr OneBased<std::optional<int>, 3> DetourSteps{{{1, std::nullopt, 2}}};

inline constexpr OneBased<ElementId, 4> PanelDigits{
    {{im_panel_digit_pos_1, im_panel_digit_pos_2, im_panel_digit_pos_3, im_panel_digit_pos_4}}};

// Indexed by the digit 0..9 itself.
inline constexpr std::array<ElementId, 10> PanelNumbers{
    im_panel_number_0, im_panel_number_1, im_panel_number_2, im_panel_number_3, im_panel_number_4,
    im_panel_number_5, im_panel_number_6, im_panel_number_7, im_panel_number_8, im_panel_number_9};

inline constexpr OneBased<ElementId, 3> PanelMissMarks{{{im_panel_miss_1, im_panel_miss_2, im_panel_miss_3}}};

}  // namespace mk::lcd
