#include "skin/compositor.h"

#include <cstdint>

#include <gtest/gtest.h>

#include <QPainter>

#include "skin/layout.h"

namespace mk::skin {
namespace {

using lcd::ElementId;
using lcd::Picture;
using lcd::PictureKind;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kKey = 0xFFFF00FFu;

Picture solid(int w, int h, std::uint32_t colour, PictureKind kind = PictureKind::Png) {
  return Picture::fromPixels(w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w * h), colour), kind);
}

// A model with nothing shown, so each test shows only what it draws.
class CompositorTest : public ::testing::Test {
 protected:
  CompositorTest() {
    for (std::size_t i = 0; i < lcd::kElementCount; ++i) model.hide(static_cast<ElementId>(i));
    compositor.setBackground(QColor(255, 0, 255));
  }

  void place(ElementId id, Picture picture, lcd::Box box) {
    model.setPicture(id, std::move(picture));
    model.setBox(id, box);
    model.show(id);
  }

  QImage compose(QRect area = QRect(0, 0, 20, 20)) {
    QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(0u);
    QPainter painter(&image);
    compositor.paint(painter, model, area);
    painter.end();
    return image;
  }

  static std::uint32_t at(const QImage& image, int x, int y) { return image.pixel(x, y); }

  lcd::ElementModel model;
  Compositor compositor;
};

TEST_F(CompositorTest, TheBackgroundShowsWhereNoVisiblePictureCovers) {
  place(ElementId::im_background, solid(4, 4, kRed), {0, 0, 4, 4});
  place(ElementId::btn_time_top, Picture{}, {10, 10, 5, 5});  // no picture covers nothing
  model.setPicture(ElementId::im_hero_1_body, solid(4, 4, kGreen));
  model.setBox(ElementId::im_hero_1_body, {5, 0, 4, 4});  // hidden
  const QImage image = compose();
  EXPECT_EQ(at(image, 1, 1), kRed);
  EXPECT_EQ(at(image, 6, 1), kKey);
  EXPECT_EQ(at(image, 12, 12), kKey);
}

TEST_F(CompositorTest, LaterElementsDrawOverEarlierOnes) {
  place(ElementId::btn_time_top, solid(6, 6, kBlue), {0, 0, 6, 6});           // near the top
  place(ElementId::im_hero_1_body, solid(6, 6, kGreen), {2, 2, 6, 6});        // a segment
  place(ElementId::im_background_screen_top, solid(6, 6, kRed), {4, 4, 6, 6}); // overlay, above segments
  const QImage image = compose();
  EXPECT_EQ(at(image, 3, 3), kBlue);   // button over segment
  EXPECT_EQ(at(image, 5, 5), kBlue);   // button over overlay too
  EXPECT_EQ(at(image, 7, 7), kRed);    // overlay over segment
  EXPECT_EQ(at(image, 7, 2), kGreen);
}

TEST_F(CompositorTest, PicturesAreDrawnUnscaledAndClippedToTheirBox) {
  place(ElementId::im_background, solid(10, 10, kRed), {2, 3, 4, 5});
  place(ElementId::im_hero_2_body, solid(2, 2, kGreen), {10, 10, 6, 6});
  const QImage image = compose();
  EXPECT_EQ(at(image, 2, 3), kRed);
  EXPECT_EQ(at(image, 5, 7), kRed);
  EXPECT_EQ(at(image, 6, 7), kKey);
  EXPECT_EQ(at(image, 5, 8), kKey);
  EXPECT_EQ(at(image, 11, 11), kGreen);
  EXPECT_EQ(at(image, 12, 12), kKey);  // a small picture leaves the rest of its box empty
}

// A transparent element loses the bitmap's bottom-left colour; an opaque one
// draws every pixel; PNG alpha counts everywhere.
TEST_F(CompositorTest, TransparencyFollowsTheElementAndThePictureKind) {
  std::vector<std::uint32_t> pixels(16, kWhite);
  pixels[5] = kBlack;
  const Picture twoColour = Picture::fromPixels(4, 4, pixels, PictureKind::Bitmap);
  place(ElementId::im_hero_1_body, twoColour, {0, 0, 4, 4});     // transparent
  place(ElementId::btn_acl_top, twoColour, {8, 0, 4, 4});        // opaque
  place(ElementId::btn_left_top, solid(4, 4, 0x80000000u, PictureKind::Png), {0, 8, 4, 4});  // half black
  const QImage image = compose();
  EXPECT_EQ(at(image, 0, 0), kKey);
  EXPECT_EQ(at(image, 1, 1), kBlack);
  EXPECT_EQ(at(image, 8, 0), kWhite);
  EXPECT_EQ(at(image, 9, 1), kBlack);
  const QColor blended = QColor::fromRgba(at(image, 1, 9));
  EXPECT_NEAR(blended.red(), 127, 2);
  EXPECT_NEAR(blended.green(), 0, 2);
  EXPECT_NEAR(blended.blue(), 127, 2);
}

TEST_F(CompositorTest, ThePlaceholdersRingIsSeeThroughOnlyInATransparentElement) {
  place(ElementId::im_item_0_0, Picture::placeholder(), {0, 0, 10, 10});
  place(ElementId::btn_right_top, Picture::placeholder(), {10, 10, 10, 10});
  const QImage image = compose();
  EXPECT_EQ(at(image, 0, 0), kKey);
  EXPECT_EQ(at(image, 9, 5), kKey);
  EXPECT_EQ(at(image, 1, 1), kRed);
  EXPECT_EQ(at(image, 8, 8), kRed);
  EXPECT_EQ(at(image, 10, 10), kBlack);
  EXPECT_EQ(at(image, 11, 11), kRed);
}

TEST_F(CompositorTest, TheBackdropIsCentredOrStretchedInItsBox) {
  place(ElementId::im_backdrop, solid(4, 2, kGreen), {0, 0, 20, 20});
  EXPECT_EQ(at(compose(), 8, 9), kGreen);
  EXPECT_EQ(at(compose(), 11, 10), kGreen);
  EXPECT_EQ(at(compose(), 7, 9), kKey);
  EXPECT_EQ(at(compose(), 8, 11), kKey);
  compositor.setBackdropStretch(true);
  const QImage stretched = compose();
  EXPECT_EQ(at(stretched, 0, 0), kGreen);
  EXPECT_EQ(at(stretched, 19, 19), kGreen);
}

TEST_F(CompositorTest, PaintingAnAreaLeavesEverythingOutsideItAlone) {
  place(ElementId::im_background, solid(20, 20, kRed), {0, 0, 20, 20});
  const QImage image = compose(QRect(5, 5, 3, 3));
  EXPECT_EQ(at(image, 5, 5), kRed);
  EXPECT_EQ(at(image, 7, 7), kRed);
  EXPECT_EQ(at(image, 4, 5), 0u);
  EXPECT_EQ(at(image, 8, 8), 0u);

  QImage both(20, 20, QImage::Format_ARGB32_Premultiplied);
  both.fill(0u);
  QPainter painter(&both);
  compositor.paint(painter, model, QRegion(0, 0, 2, 2) + QRegion(18, 18, 2, 2));
  painter.end();
  EXPECT_EQ(at(both, 0, 0), kRed);
  EXPECT_EQ(at(both, 19, 19), kRed);
  EXPECT_EQ(at(both, 10, 10), 0u);
}

// Boxes anywhere in the 32-bit range: what lies inside the area is drawn as
// from its box's left-top corner, and nothing else is touched.
TEST_F(CompositorTest, BoxesAtTheEndsOfTheIntegerRangePaintOnlyWhatTheAreaShows) {
  constexpr int kMin = INT32_MIN;
  constexpr int kMax = INT32_MAX;
  place(ElementId::im_background, solid(6, 6, kRed), {0, 0, kMax, kMax});
  place(ElementId::im_hero_1_body, solid(4, 4, kGreen), {kMin, kMin, kMax, kMax});  // ends at -1
  place(ElementId::im_hero_2_body, solid(4, 4, kGreen), {kMin + 1, kMin + 1, kMax, kMax});  // ends at 0
  place(ElementId::im_hero_3_body, solid(4, 4, kGreen), {kMax, kMax, kMax, kMax});
  place(ElementId::btn_time_top, solid(4, 4, kBlue), {kMax - 1, 0, 2, 2});
  place(ElementId::btn_acl_top, solid(4, 4, kBlue), {10, kMin, 4, kMax});
  for (const QRect area : {QRect(0, 0, 20, 20), QRect(0, 0, 3, 3)}) {
    const QImage image = compose(area);
    EXPECT_EQ(at(image, 0, 0), kRed);
    EXPECT_EQ(at(image, 2, 2), kRed);
  }
  const QImage image = compose();
  EXPECT_EQ(at(image, 5, 5), kRed);
  EXPECT_EQ(at(image, 6, 6), kKey);
  EXPECT_EQ(at(image, 11, 1), kKey) << "the picture starts at its box's top, far above";
}

TEST(ImageView, SharesThePicturesPixelsWithoutCopying) {
  const Picture picture = Picture::placeholder();
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(imageView(picture, false).constBits()), picture.pixels());
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(imageView(picture, true).constBits()),
            picture.transparentPixels());
  EXPECT_TRUE(imageView(Picture{}, true).isNull());
}

class DirtyRegionTest : public ::testing::Test {
 protected:
  DirtyRegionTest() {
    model.setPicture(ElementId::im_hero_1_body, Picture::placeholder());
    model.setBox(ElementId::im_hero_1_body, {10, 10, 5, 5});
    model.setBox(ElementId::im_hero_2_body, {30, 30, 5, 5});
    tracker.take();
  }
  lcd::ElementModel model;
  DirtyRegionTracker tracker{model};
};

TEST_F(DirtyRegionTest, ShowingHidingOrRepicturingMarksTheBox) {
  model.show(ElementId::im_hero_1_body);
  EXPECT_EQ(tracker.take(), QRegion(10, 10, 5, 5));
  model.setPicture(ElementId::im_hero_1_body, Picture::placeholder());
  EXPECT_EQ(tracker.take(), QRegion(10, 10, 5, 5));
  model.hide(ElementId::im_hero_1_body);
  EXPECT_EQ(tracker.take(), QRegion(10, 10, 5, 5));
  EXPECT_TRUE(tracker.isEmpty());
}

TEST_F(DirtyRegionTest, MovingAVisibleElementMarksBothBoxes) {
  model.show(ElementId::im_hero_1_body);
  tracker.take();
  model.setBox(ElementId::im_hero_1_body, {20, 10, 5, 5});
  EXPECT_EQ(tracker.take(), QRegion(10, 10, 5, 5) + QRegion(20, 10, 5, 5));
}

TEST_F(DirtyRegionTest, ChangesThatDrawNothingMarkNothing) {
  model.setPicture(ElementId::im_hero_1_body, Picture::placeholder());  // hidden
  model.setBox(ElementId::im_hero_1_body, {0, 0, 5, 5});                // hidden
  model.show(ElementId::im_hero_2_body);                                // no picture
  EXPECT_TRUE(tracker.isEmpty());
}

TEST_F(DirtyRegionTest, BoxesAtTheEndsOfTheIntegerRangeMarkTheirClampedRectangle) {
  constexpr int kMin = INT32_MIN;
  constexpr int kMax = INT32_MAX;
  constexpr int kLimit = kDrawingLimit;
  model.show(ElementId::im_hero_1_body);
  tracker.take();
  model.setBox(ElementId::im_hero_1_body, {kMin, kMin + 1, kMax, kMax});
  EXPECT_EQ(tracker.take(), QRegion(10, 10, 5, 5) + QRegion(-kLimit, -kLimit, kLimit - 1, kLimit));
  model.setBox(ElementId::im_hero_1_body, {kMax, 0, kMax, 5});
  EXPECT_EQ(tracker.take(), QRegion(-kLimit, -kLimit, kLimit - 1, kLimit)) << "the new box shows nothing";
  model.setBox(ElementId::im_hero_1_body, {0, 0, kMax, kMax});
  EXPECT_EQ(tracker.take(), QRegion(0, 0, kLimit, kLimit));
  EXPECT_EQ(toRect({kMax, kMin, kMax, kMax}), QRect(kLimit, -kLimit, 0, kLimit - 1));
}

}  // namespace
}  // namespace mk::skin
