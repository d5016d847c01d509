#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "app/pointer_targets.h"
#include "app/window_shape.h"
#include "app_fixture.h"

namespace mk::app {
namespace {
using lcd::ElementId;

TEST(PointerTargets, TheTopmostShownElementTakesThePointerAndHiddenOnesTakeNothing) {
  lcd::ElementModel model;
  model.setBox(ElementId::im_background, {0, 0, 100, 50});
  model.setBox(ElementId::btn_left_top, {10, 10, 20, 20});
  model.setBox(ElementId::btn_left_down, {10, 10, 20, 20});
  model.setBox(ElementId::im_hero_1_body, {50, 10, 10, 10});

  EXPECT_EQ(elementAt(model, 15, 15), ElementId::btn_left_top);
  EXPECT_EQ(elementAt(model, 29, 29), ElementId::btn_left_top);
  EXPECT_EQ(elementAt(model, 30, 30), ElementId::im_background) << "boxes end before left + width";
  EXPECT_EQ(elementAt(model, 55, 15), ElementId::im_background) << "a dark segment takes nothing";
  model.show(ElementId::im_hero_1_body);
  EXPECT_EQ(elementAt(model, 55, 15), ElementId::im_hero_1_body) << "a lit segment covers the face";
  EXPECT_EQ(elementAt(model, 150, 15), std::nullopt);

  model.setBox(ElementId::im_backdrop, {0, 0, 0, 0});
  model.setBox(ElementId::btn_time_top, {std::numeric_limits<int>::min(), 0, std::numeric_limits<int>::max(), 10});
  EXPECT_EQ(elementAt(model, 5, 5), ElementId::im_background) << "no overflow on far-away boxes";
}

TEST(PointerTargets, ButtonsHaveTheHandAlarmTheHelpCursorAndOnlyFaceAlarmAndOverlayDrag) {
  const std::pair<ElementId, engine::Button> buttons[] = {{ElementId::btn_time_top, engine::Button::Time},
                                                          {ElementId::btn_acl_top, engine::Button::Acl},
                                                          {ElementId::btn_left_top, engine::Button::Left},
                                                          {ElementId::btn_right_top, engine::Button::Right}};
  for (const auto& [picture, button] : buttons) {
    const PointerTarget t = pointerTargetOf(picture);
    EXPECT_EQ(t.role, PointerRole::Button);
    EXPECT_EQ(t.cursor, PointerCursor::Hand);
    EXPECT_EQ(t.button, button);
  }
  EXPECT_EQ(pointerTargetOf(ElementId::btn_alarm_top).cursor, PointerCursor::Help);
  for (ElementId drag : {ElementId::im_background, ElementId::btn_alarm_top, ElementId::im_background_screen_top}) {
    EXPECT_EQ(pointerTargetOf(drag).role, PointerRole::Drag);
  }
  for (ElementId inert : {ElementId::im_hero_2_body, ElementId::btn_left_down, ElementId::im_backdrop}) {
    EXPECT_EQ(pointerTargetOf(inert).role, PointerRole::None);
    EXPECT_EQ(pointerTargetOf(inert).cursor, PointerCursor::Arrow);
  }
  EXPECT_EQ(pointerTargetOf(ElementId::btn_game_menu_top).cursor, PointerCursor::Hand);
}

TEST(WindowShape, CutsOutExactlyTheKeyColouredPixels) {
  testing::application();  // a bitmap, which the region is built from, needs the GUI set up
  QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(255, 0, 255));
  QPainter(&image).fillRect(5, 5, 10, 10, QColor(10, 20, 30));
  image.setPixelColor(30, 2, QColor(254, 0, 255));  // near the key is not the key

  const QRegion shape = opaqueRegion(image, QColor(255, 0, 255), QPoint(100, 50));
  EXPECT_TRUE(shape.contains(QPoint(105, 55)));
  EXPECT_TRUE(shape.contains(QPoint(114, 64)));
  EXPECT_FALSE(shape.contains(QPoint(115, 65)));
  EXPECT_FALSE(shape.contains(QPoint(100, 50)));
  EXPECT_TRUE(shape.contains(QPoint(130, 52)));
  EXPECT_EQ(shape.boundingRect(), QRect(105, 52, 26, 13));

  QImage allKey(8, 8, QImage::Format_RGB32);
  allKey.fill(QColor(255, 0, 255));
  EXPECT_TRUE(opaqueRegion(allKey, QColor(255, 0, 255)).isEmpty());
}

}  // namespace
}  // namespace mk::app
