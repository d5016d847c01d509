#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "lcd/display_ops.h"
#include "lcd/segment_tables.h"

namespace mk::lcd {
namespace {

// Every element the LCD operations may touch: the playfield and the panel.
std::vector<ElementId> lcdSegments() {
  std::vector<ElementId> out;
  for (auto i = index(im_hero_1_body); i <= index(im_panel_number_9); ++i) out.push_back(static_cast<ElementId>(i));
  return out;
}

bool isDigitPosition(ElementId id) {
  return id == im_panel_digit_pos_1 || id == im_panel_digit_pos_2 || id == im_panel_digit_pos_3 ||
         id == im_panel_digit_pos_4;
}

std::vector<std::optional<int>> digits(const ElementModel& m) {
  return {m.digit(1), m.digit(2), m.digit(3), m.digit(4)};
}

TEST(AllSegments, OnThenOffLeavesEverythingDarkButTheBlankDigitPositions) {
  ElementModel m;
  Vid_Show_All(m, true);
  Vid_Show_All(m, false);
  for (ElementId id : lcdSegments()) {
    EXPECT_EQ(m.isVisible(id), isDigitPosition(id)) << nameOf(id);
  }
  EXPECT_EQ(digits(m), (std::vector<std::optional<int>>{std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
}

TEST(AllSegments, PowerOnLookShowsNoonAmAndKeepsTheFixedExceptionsDark) {
  ElementModel m;
  Vid_Show_All(m, true);
  const std::vector<ElementId> dark = {im_item_3_2,      im_item_3_2a,    im_item_got_1,   im_item_got_2,
                                       im_item_got_3,    im_panel_time_pm, im_panel_game_a, im_panel_game_b};
  for (ElementId id : lcdSegments()) {
    const bool glyph = index(id) >= index(im_panel_number_0);
    const bool expectDark = glyph || std::find(dark.begin(), dark.end(), id) != dark.end();
    EXPECT_EQ(m.isVisible(id), !expectDark) << nameOf(id);
  }
  EXPECT_EQ(digits(m), (std::vector<std::optional<int>>{1, 2, 0, 0}));
}

TEST(Hero, FrameSelectsTheLegPictureAndLeavesTheAttackAlone) {
  ElementModel m;
  m.show(im_hero_2_attack);
  Vid_Show_Hero(m, 2, 1, true);
  EXPECT_TRUE(m.isVisible(im_hero_2_body));
  EXPECT_FALSE(m.isVisible(im_hero_2_leg_1));
  EXPECT_FALSE(m.isVisible(im_hero_2_leg_2));
  Vid_Show_Hero(m, 2, 2, true);
  EXPECT_TRUE(m.isVisible(im_hero_2_leg_1));
  EXPECT_FALSE(m.isVisible(im_hero_2_leg_2));
  Vid_Show_Hero(m, 2, 3, true);
  EXPECT_FALSE(m.isVisible(im_hero_2_leg_1));
  EXPECT_TRUE(m.isVisible(im_hero_2_leg_2));
  EXPECT_TRUE(m.isVisible(im_hero_2_attack));
  EXPECT_FALSE(m.isVisible(im_hero_1_body));
  EXPECT_FALSE(m.isVisible(im_hero_3_body));
}

TEST(Hero, ErasingDarkensTheWholeLaneIncludingTheAttack) {
  ElementModel m;
  Vid_Show_Hero(m, 3, 2, true);
  m.show(im_hero_3_attack);
  m.show(im_hero_1_body);
  Vid_Show_Hero(m, 3, 2, false);
  for (std::size_t part = 1; part <= 4; ++part) EXPECT_FALSE(m.isVisible(HeroSegments[3][part]));
  EXPECT_TRUE(m.isVisible(im_hero_1_body));
}

struct ScoreRow {
  std::int32_t value;
  std::vector<std::optional<int>> shown;
};

TEST(PanelScore, ShowsAtLeastThreeDigitsWithALeadingOneAndWrapsAt2000) {
  const auto blank = std::nullopt;
  const std::vector<ScoreRow> rows = {
      {0, {blank, 0, 0, 0}},    {7, {blank, 0, 0, 7}},    {45, {blank, 0, 4, 5}},   {999, {blank, 9, 9, 9}},
      {1000, {1, 0, 0, 0}},     {1999, {1, 9, 9, 9}},     {2000, {blank, 0, 0, 0}}, {2345, {blank, 3, 4, 5}},
      {4001, {blank, 0, 0, 1}}, {3999, {1, 9, 9, 9}},
  };
  for (const auto& row : rows) {
    ElementModel m;
    m.setDigit(1, 5);
    Vid_Show_Panel_Score(m, row.value, true);
    EXPECT_EQ(digits(m), row.shown) << row.value;
  }
}

TEST(PanelScore, HidingBlanksPositionsTwoToFourAndKeepsTheLeadingOne) {
  ElementModel m;
  Vid_Show_Panel_Score(m, 1234, true);
  Vid_Show_Panel_Score(m, 0, false);
  EXPECT_EQ(digits(m), (std::vector<std::optional<int>>{1, std::nullopt, std::nullopt, std::nullopt}));
  EXPECT_FALSE(m.isVisible(im_panel_time_colon));
}

// A corrupt stored high score must not index past the ten glyphs.
TEST(PanelScore, NegativeNumberReadsAsZero) {
  ElementModel m;
  Vid_Show_Panel_Score(m, -5, true);
  EXPECT_EQ(digits(m), (std::vector<std::optional<int>>{std::nullopt, 0, 0, 0}));
}

TEST(PanelMiss, ShowsTheFirstCountMarks) {
  ElementModel m;
  const std::vector<std::pair<std::int32_t, std::vector<bool>>> rows = {
      {2, {true, true, false}}, {0, {false, false, false}}, {3, {true, true, true}},
      {-1, {false, false, false}}, {7, {true, true, true}}, {1, {true, false, false}}};
  for (const auto& [count, marks] : rows) {
    Vid_Show_Panel_Miss(m, count);
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(m.isVisible(PanelMissMarks[i]), marks[i - 1]) << count << " " << i;
  }
}

}  // namespace
}  // namespace mk::lcd
