#include "skin/layout.h"

#include <gtest/gtest.h>

namespace mk::skin {
namespace {

TEST(FullscreenOffset, ANonZeroNumberIsTakenAsItIsAndAnythingElseCentres) {
  struct Row {
    const char* text;
    int screen;
    int skin;
    int offset;
  };
  const Row rows[] = {
      {"Center", 1920, 611, 654}, {"Center", 1080, 322, 379}, {"0", 1920, 611, 654},
      {"", 1920, 611, 654},       {"left", 1920, 611, 654},   {"100", 1920, 611, 100},
      {"-20", 1920, 611, -20},    {"$10", 1920, 611, 16},     {"0x20", 1920, 611, 32},
      {"Center", 606, 611, -2},   {"Center", 600, 611, -5},   {"Center", 611, 611, 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(fullscreenOffset(r.text, r.screen, r.skin), r.offset) << r.text << " " << r.screen;
  }
  EXPECT_EQ(fullscreenOffsets("Center", "7", {1920, 1080}, {611, 322}), (GameOffsets{654, 7}));
}

TEST(LogoPosition, EachCornerOfTheScreenOrNoMove) {
  EXPECT_EQ(logoPosition(0, {1920, 1080}, {100, 40}), (Point{0, 0}));
  EXPECT_EQ(logoPosition(2, {1920, 1080}, {100, 40}), (Point{0, 1040}));
  EXPECT_EQ(logoPosition(3, {1920, 1080}, {100, 40}), (Point{1820, 1040}));
  EXPECT_EQ(logoPosition(4, {1920, 1080}, {100, 40}), std::nullopt);
}

TEST(BackdropPlacement, StretchedFillsTheClientAreaOtherwiseCentredAtItsOwnSize) {
  EXPECT_EQ(backdropPlacement({1920, 1080}, {800, 600}, true), (lcd::Box{0, 0, 1920, 1080}));
  EXPECT_EQ(backdropPlacement({1920, 1080}, {800, 600}, false), (lcd::Box{560, 240, 800, 600}));
  EXPECT_EQ(backdropPlacement({1024, 768}, {2049, 800}, false), (lcd::Box{-512, -16, 2049, 800}));
}

TEST(WindowPlacement, CentredInWholePixelsAndOutOfSightBeyondTheTopLeft) {
  EXPECT_EQ(centredOnScreen({1920, 1080}, {611, 322}), (Point{654, 379}));
  EXPECT_EQ(centredOnScreen({1920, 1080}, {1920, 1080}), (Point{0, 0}));
  EXPECT_EQ(centredOnScreen({800, 600}, {1003, 605}), (Point{-101, -2}));
  EXPECT_EQ(outOfSight({1920, 1080}), (Point{-1920, -1080}));
}

}  // namespace
}  // namespace mk::skin
