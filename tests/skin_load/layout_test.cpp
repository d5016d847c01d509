#include "skin/layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

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

TEST(WindowPlacement, CentredInWholePixelsOnTheScreenItIsGiven) {
  EXPECT_EQ(centredOnScreen({1920, 1080}, {611, 322}), (Point{654, 379}));
  EXPECT_EQ(centredOnScreen({1920, 1080}, {1920, 1080}), (Point{0, 0}));
  EXPECT_EQ(centredOnScreen({800, 600}, {1003, 605}), (Point{-101, -2}));
  // A second screen right of the first, and one above it.
  EXPECT_EQ(centredOn({1920, 0, 1280, 1024}, {611, 322}), (Point{1920 + 334, 351}));
  EXPECT_EQ(centredOn({0, -768, 1024, 768}, {1024, 768}), (Point{0, -768})) << "full screen on the upper screen";
}

// A dragged handheld keeps at least 64 x 32 pixels of its face on some
// screen, whichever edge it is pushed over, and nothing stops it in between.
TEST(WindowPlacement, ADraggedWindowKeepsAGraspOfItsFaceOnSomeScreen) {
  const ScreenArea one[] = {{0, 0, 1280, 1024}};
  const lcd::Box face{0, 0, 611, 322};
  EXPECT_EQ(keepFaceOnScreen({100, 200}, face, one), (Point{100, 200}));
  EXPECT_EQ(keepFaceOnScreen({-611 + 64, 200}, face, one), (Point{-547, 200})) << "exactly 64 pixels left";
  EXPECT_EQ(keepFaceOnScreen({-600, 200}, face, one), (Point{-547, 200}));
  EXPECT_EQ(keepFaceOnScreen({1250, 2000}, face, one), (Point{1216, 992}));
  EXPECT_EQ(keepFaceOnScreen({-5000, -5000}, face, one), (Point{-547, -290}));

  // Where the face sits inside the window counts, not the window's box.
  EXPECT_EQ(keepFaceOnScreen({1250, 0}, lcd::Box{100, 50, 200, 100}, one), (Point{1280 - 64 - 100, 0}));
  // A face smaller than 64 x 32 stays whole on the screen.
  EXPECT_EQ(keepFaceOnScreen({-100, -100}, lcd::Box{0, 0, 40, 20}, one), (Point{0, 0}));

  // Two screens side by side: the window may cross between them freely, and
  // is held by the nearer one.
  const ScreenArea two[] = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};
  EXPECT_EQ(keepFaceOnScreen({1000, 100}, face, two), (Point{1000, 100}));
  EXPECT_EQ(keepFaceOnScreen({3300, 1050}, face, two), (Point{1280 + 1920 - 64, 1080 - 32}));
  EXPECT_EQ(keepFaceOnScreen({-700, 1000}, face, two), (Point{-547, 1000 - 8})) << "the left screen is the nearer";
  EXPECT_EQ(keepFaceOnScreen({5, 5}, face, {}), (Point{5, 5})) << "no screen: nothing to keep it on";
  // Far-away coordinates do not overflow.
  EXPECT_EQ(keepFaceOnScreen({INT32_MAX, INT32_MIN}, face, one), (Point{1216, -290}));
}

// Boxes a skin may write anywhere in the 32-bit range come out of drawableBox
// with every edge within reach of the drawing limit, so that rectangle
// arithmetic on them (right edge, union, translation) cannot overflow.
TEST(DrawableBox, ClampsEachEdgeToTheDrawingLimitAndKeepsWhatCanBeSeen) {
  constexpr int kMin = INT32_MIN;
  constexpr int kMax = INT32_MAX;
  constexpr int kLimit = kDrawingLimit;
  EXPECT_EQ(drawableBox({10, -20, 611, 322}), (lcd::Box{10, -20, 611, 322})) << "an ordinary box is unchanged";
  EXPECT_EQ(drawableBox({0, 0, kMax, kMax}), (lcd::Box{0, 0, kLimit, kLimit})) << "the left-top corner stays";
  EXPECT_EQ(drawableBox({kMin, kMin + 1, kMax, kMax}), (lcd::Box{-kLimit, -kLimit, kLimit - 1, kLimit}))
      << "ends at -1 and 0, as written";
  EXPECT_EQ(drawableBox({kMax, kMax, kMax, 1}), (lcd::Box{kLimit, kLimit, 0, 0}));
  EXPECT_EQ(drawableBox({kMin, kMin, kMin, kMin + 1}), (lcd::Box{-kLimit, -kLimit, 0, 0}))
      << "a negative size shows nothing";
  EXPECT_EQ(drawableBox({-5, 3, kMax, -1}), (lcd::Box{-5, 3, kLimit + 5, 0}));

  // Whatever goes in, the right and bottom edges (left + width) fit in int
  // with room for one more such sum.
  for (const int a : {kMin, kMin + 1, -1, 0, 1, kMax - 1, kMax}) {
    for (const int b : {kMin, kMin + 1, -1, 0, 1, kMax - 1, kMax}) {
      const lcd::Box box = drawableBox({a, b, b, a});
      EXPECT_LE(std::abs(static_cast<std::int64_t>(box.left) + box.width), kLimit) << a << ' ' << b;
      EXPECT_LE(std::abs(static_cast<std::int64_t>(box.top) + box.height), kLimit) << a << ' ' << b;
      EXPECT_GE(box.width, 0);
      EXPECT_GE(box.height, 0);
    }
  }
}

}  // namespace
}  // namespace mk::skin
