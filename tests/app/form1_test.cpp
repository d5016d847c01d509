#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>

#include "app_fixture.h"
#include "skin/gfxinit.h"
#include "ui/texts.h"

namespace mk::app {
namespace {
using lcd::ElementId;
using testing::FormHarness;
using testing::TestSkin;

QSize screen() { return QGuiApplication::primaryScreen()->geometry().size(); }

void sendKey(QWidget* target, QEvent::Type type, Qt::Key key, bool autoRepeat = false) {
  QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
  QCoreApplication::sendEvent(target, &event);
}

void mouseEvent(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::NoButton) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent event(type, pos, target->mapToGlobal(pos), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

QPoint centreOf(const TForm1& form, ElementId id) {
  const lcd::Box& b = const_cast<TForm1&>(form).model()[id].box;
  return QPoint(b.left + b.width / 2, b.top + b.height / 2);
}

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override { testing::application(); }
  TestSkin skin;
};

// The first start must leave the four bindings in the store and nothing
// else: the presentation is written only when the player switches it.
TEST_F(Form1Test, FirstStartWritesExactlyTheFourKeysAndIsNotShown) {
  FormHarness h(skin);
  const auto& values = h.store->values();
  ASSERT_EQ(values.size(), 4u);
  EXPECT_EQ(values.at("Key1"), "2");
  EXPECT_EQ(values.at("Key2"), "6");
  EXPECT_EQ(values.at("Key3"), "39");
  EXPECT_EQ(values.at("Key4"), "40");

  EXPECT_EQ(h.form->windowTitle(), ui::toQString(ui::kApplicationTitle));
  EXPECT_FALSE(h.form->isVisible()) << "out of sight until play begins";
  EXPECT_TRUE(h.form->FullscreenMode) << "full screen by default";
  EXPECT_EQ(h.form->size(), screen());
  EXPECT_TRUE(h.form->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(h.state().GameMode, 0) << "nothing is lit until play starts";
}

TEST_F(Form1Test, StoredBindingsAndHighScoresAreReadAndBadValuesFallBack) {
  auto store = testing::windowedStore();
  store->setText("Key1", "11");  // 'A'
  store->setText("Key3", "99");  // outside the key table: no key
  store->setText("HiScore1", "123");
  store->setText("HiScore2", "abc");
  FormHarness h(skin, store);

  EXPECT_EQ(h.state().HiScore1, 123);
  EXPECT_EQ(h.state().HiScore2, 0);
  EXPECT_EQ(h.form->handheld().bindings()[1].KeyCode, 'A');
  EXPECT_EQ(h.form->handheld().bindings()[3].KeyCode, 0);
  EXPECT_EQ(h.store->values().at("Key3"), "99") << "the index is written back as read";
  EXPECT_EQ(h.form->controls().hintOf(ElementId::btn_time_top),
            "click or press 'A' to view current time (hold to view alarm time)");
  EXPECT_EQ(h.form->controls().hintOf(ElementId::btn_left_top), "click or press ");
}

TEST_F(Form1Test, HintsReadAsTheTableSaysWithTheDefaultKeys) {
  FormHarness h(skin);
  EXPECT_EQ(h.form->controls().hintOf(ElementId::btn_time_top),
            "click or press '1' to view current time (hold to view alarm time)");
  EXPECT_EQ(h.form->controls().hintOf(ElementId::btn_acl_top), "click or press '5' to reset the game");
  EXPECT_EQ(h.form->controls().hintOf(ElementId::btn_alarm_top), "button disabled");
  EXPECT_EQ(h.form->controls().hintOf(ElementId::btn_left_top), "click or press 'left arrow' key");
  EXPECT_EQ(h.form->controls().hintOf(ElementId::btn_right_top), "click or press 'right arrow' key");
  EXPECT_TRUE(h.form->controls().hintOf(ElementId::im_background).isEmpty());
}

TEST_F(Form1Test, WindowedPresentationTakesTheSkinSizeAndCutsOutTheKeyColour) {
  FormHarness h(skin, testing::windowedStore());
  TForm1& form = *h.form;
  EXPECT_FALSE(form.FullscreenMode);
  EXPECT_EQ(form.size(), QSize(200, 100));
  EXPECT_TRUE(form.skin().colourKeyEnabled());
  const QRegion shape = form.skin().shape();
  EXPECT_TRUE(shape.contains(QPoint(20, 10)));
  EXPECT_TRUE(shape.contains(QPoint(179, 89)));
  EXPECT_FALSE(shape.contains(QPoint(5, 5))) << "the magenta corner is see-through";
  EXPECT_FALSE(shape.contains(QPoint(190, 95)));
  EXPECT_EQ(form.mask(), shape);
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_game_menu_top));
}

// A segment lit over the see-through surroundings must show on the desktop,
// and vanish again when it goes dark.
TEST_F(Form1Test, TheWindowShapeFollowsSegmentsLitOutsideTheFace) {
  skin.writeConfig(TestSkin::defaultConfig() + TestSkin::slot(45, "segment.bmp", 2, 2, 10, 10));
  FormHarness h(skin, testing::windowedStore());
  TForm1& form = *h.form;
  EXPECT_FALSE(form.skin().shape().contains(QPoint(5, 5)));
  form.model().show(ElementId::im_hero_2_body);
  QCoreApplication::processEvents();
  EXPECT_TRUE(form.skin().shape().contains(QPoint(5, 5)));
  EXPECT_TRUE(form.skin().shape().contains(QPoint(100, 50))) << "the rest of the shape is kept";
  form.model().hide(ElementId::im_hero_2_body);
  QCoreApplication::processEvents();
  EXPECT_FALSE(form.skin().shape().contains(QPoint(5, 5)));
}

TEST_F(Form1Test, SwitchingThePresentationStoresItRelaysTheWindowAndSwitchingBackRestoresIt) {
  FormHarness h(skin, testing::windowedStore());
  TForm1& form = *h.form;
  // The in-game menu's picture is only decoded once full screen needs it.
  EXPECT_TRUE(form.model()[ElementId::btn_game_menu_background].picture.isNull());
  form.switchPresentation();
  EXPECT_EQ(form.model()[ElementId::btn_game_menu_background].picture.width(), 256);
  EXPECT_TRUE(form.FullscreenMode);
  EXPECT_TRUE(form.popupMenu().isChecked(ui::CheckKind::Fullscreen));
  EXPECT_EQ(h.store->values().at("FullscreenMode"), "1");
  EXPECT_EQ(form.size(), screen());
  EXPECT_EQ(form.pos(), QPoint(0, 0));
  EXPECT_TRUE(form.mask().isEmpty()) << "no shape in full screen";
  EXPECT_TRUE(form.model().isVisible(ElementId::btn_game_menu_top));
  const QSize s = screen();
  EXPECT_EQ(form.model()[ElementId::im_background].box.left, (s.width() - 200) / 2);

  form.switchPresentation();
  EXPECT_FALSE(form.FullscreenMode);
  EXPECT_EQ(h.store->values().at("FullscreenMode"), "0");
  EXPECT_EQ(form.size(), QSize(200, 100));
  EXPECT_EQ(form.pos(), QPoint((s.width() - 200) / 2, (s.height() - 100) / 2));
  EXPECT_FALSE(form.mask().isEmpty());
  EXPECT_EQ(form.model()[ElementId::im_background].box.left, 0);
}

TEST_F(Form1Test, F12SwitchesThePresentation) {
  FormHarness h(skin, testing::windowedStore());
  sendKey(h.form.get(), QEvent::KeyPress, Qt::Key_F12);
  sendKey(h.form.get(), QEvent::KeyRelease, Qt::Key_F12);
  EXPECT_TRUE(h.form->FullscreenMode);
}

TEST_F(Form1Test, AMissingConfigShowsItsMessageAsksToQuitAndStillPlacesTheMenuButton) {
  skin.removeConfig();
  FormHarness h(skin);
  ASSERT_EQ(h.errors.size(), 1u);
  EXPECT_EQ(h.errors[0], "Configuration file (Config.ini) not found. Please reinstall the game.");
  EXPECT_EQ(h.terminationRequests, 1);
  EXPECT_TRUE(h.form->model().isVisible(ElementId::btn_game_menu_top));
  EXPECT_EQ(h.store->values().size(), 4u) << "the remaining creation steps still run";
}

TEST_F(Form1Test, BoundKeysWorkTheButtonsAndAHeldKeyReleasesExactlyOnce) {
  FormHarness h(skin, testing::windowedStore());
  TForm1& form = *h.form;
  form.handheld().switchOn();
  std::vector<int> modes;
  form.handheld().engine().setModeObserver([&](std::int32_t mode) { modes.push_back(mode); });

  sendKey(&form, QEvent::KeyPress, Qt::Key_1);
  EXPECT_EQ(h.state().GameMode, 2);
  EXPECT_TRUE(form.model().isVisible(ElementId::btn_time_down));
  // X11 auto-repeat: release/press pairs marked as repeats while the key is held.
  for (int i = 0; i < 5; ++i) {
    sendKey(&form, QEvent::KeyRelease, Qt::Key_1, true);
    sendKey(&form, QEvent::KeyPress, Qt::Key_1, true);
  }
  EXPECT_TRUE(form.model().isVisible(ElementId::btn_time_down));
  sendKey(&form, QEvent::KeyRelease, Qt::Key_1);
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_time_down));
  EXPECT_EQ(modes, (std::vector<int>{2, 3})) << "one release, after any number of presses";

  sendKey(&form, QEvent::KeyPress, Qt::Key_Left);
  EXPECT_EQ(h.state().GameMode, 5) << "LEFT starts Game A from the clock";
  sendKey(&form, QEvent::KeyRelease, Qt::Key_Left);
  sendKey(&form, QEvent::KeyPress, Qt::Key_5);
  EXPECT_EQ(h.state().GameMode, 0);
  sendKey(&form, QEvent::KeyRelease, Qt::Key_5);
  EXPECT_EQ(h.state().GameMode, 1);
  sendKey(&form, QEvent::KeyPress, Qt::Key_Q);
  sendKey(&form, QEvent::KeyRelease, Qt::Key_Q);
  EXPECT_EQ(h.state().GameMode, 1) << "an unbound key does nothing";
}

// Two bindings on one key can only come from a hand-edited store; the
// earlier button wins for press and release alike.
TEST_F(Form1Test, WhenTwoBindingsShareAKeyTheEarlierButtonWins) {
  auto store = testing::windowedStore();
  store->setText("Key2", "2");  // ACL on the 1 key, like TIME
  FormHarness h(skin, store);
  h.form->handheld().switchOn();
  sendKey(h.form.get(), QEvent::KeyPress, Qt::Key_1);
  EXPECT_EQ(h.state().GameMode, 2);
  EXPECT_FALSE(h.form->model().isVisible(ElementId::btn_acl_down));
  sendKey(h.form.get(), QEvent::KeyRelease, Qt::Key_1);
  EXPECT_EQ(h.state().GameMode, 3);
}

TEST_F(Form1Test, TheReleaseGoesToThePictureThePressBeganOnAndOnlyTheLeftButtonPresses) {
  FormHarness h(skin, testing::windowedStore());
  TForm1& form = *h.form;
  form.show();
  form.handheld().switchOn();
  const QPoint left = centreOf(form, ElementId::btn_left_top);
  const QPoint time = centreOf(form, ElementId::btn_time_top);

  QTest::mousePress(&form, Qt::RightButton, {}, time);
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_time_down)) << "the right button presses nothing";
  QTest::mouseRelease(&form, Qt::RightButton, {}, time);
  EXPECT_EQ(h.state().GameMode, 1);

  QTest::mousePress(&form, Qt::LeftButton, {}, time);
  EXPECT_TRUE(form.model().isVisible(ElementId::btn_time_down));
  EXPECT_EQ(h.state().GameMode, 2);
  QTest::mouseMove(&form, left);
  QTest::mouseRelease(&form, Qt::LeftButton, {}, left);
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_time_down));
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_left_down));
  EXPECT_EQ(h.state().GameMode, 3) << "TIME got its release although the pointer left it";

  QTest::mousePress(&form, Qt::LeftButton, {}, left);
  EXPECT_TRUE(form.model().isVisible(ElementId::btn_left_down));
  QTest::mouseMove(&form, QPoint(190, 5));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(190, 5));
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_left_down));

  // A quick second click arrives as a double click instead of a press (X11),
  // and a press followed by a double click must still press only once.
  std::vector<int> modes;
  form.handheld().engine().setModeObserver([&](std::int32_t mode) { modes.push_back(mode); });
  const QPoint acl = centreOf(form, ElementId::btn_acl_top);
  mouseEvent(&form, QEvent::MouseButtonPress, acl, Qt::LeftButton);
  mouseEvent(&form, QEvent::MouseButtonRelease, acl, Qt::LeftButton);
  mouseEvent(&form, QEvent::MouseButtonDblClick, acl, Qt::LeftButton);
  mouseEvent(&form, QEvent::MouseButtonRelease, acl, Qt::LeftButton);
  EXPECT_EQ(modes, (std::vector<int>{0, 1, 0, 1}));
  mouseEvent(&form, QEvent::MouseButtonPress, acl, Qt::LeftButton);
  mouseEvent(&form, QEvent::MouseButtonDblClick, acl, Qt::LeftButton);
  mouseEvent(&form, QEvent::MouseButtonRelease, acl, Qt::LeftButton);
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_acl_down));
  EXPECT_EQ(modes, (std::vector<int>{0, 1, 0, 1, 0, 1}));
}

TEST_F(Form1Test, CursorsFollowTheButtonPictures) {
  FormHarness h(skin, testing::windowedStore());
  EXPECT_EQ(h.form->controls().cursorAt(centreOf(*h.form, ElementId::btn_acl_top)), PointerCursor::Hand);
  EXPECT_EQ(h.form->controls().cursorAt(centreOf(*h.form, ElementId::btn_alarm_top)), PointerCursor::Help);
  EXPECT_EQ(h.form->controls().cursorAt(QPoint(25, 15)), PointerCursor::Arrow);
  h.form->show();
  mouseEvent(h.form.get(), QEvent::MouseMove, centreOf(*h.form, ElementId::btn_right_top));
  EXPECT_EQ(h.form->cursor().shape(), Qt::PointingHandCursor);
  mouseEvent(h.form.get(), QEvent::MouseMove, centreOf(*h.form, ElementId::btn_alarm_top));
  EXPECT_EQ(h.form->cursor().shape(), Qt::WhatsThisCursor);
}

// A skin may write any 32-bit box. The face reaching to the end of the range
// is drawn, shaped and dragged from its left-top corner; segments placed at
// the far ends change nothing that can be seen; nothing overflows on the way.
TEST_F(Form1Test, BoxesAtTheEndsOfTheIntegerRangeAreDrawnHitAndDraggedAsFarAsTheyShow) {
  constexpr int kMin = INT32_MIN;
  constexpr int kMax = INT32_MAX;
  std::string config = TestSkin::defaultConfig();
  const std::string usual = TestSkin::slot(1, "face.bmp", 0, 0, 200, 100);
  config.replace(config.find(usual), usual.size(), TestSkin::slot(1, "face.bmp", 0, 0, kMax, kMax));
  skin.writeConfig(config +
                   TestSkin::slot(45, "segment.bmp", kMin, kMin, kMax, kMax) +
                   TestSkin::slot(46, "segment.bmp", kMin + 1, kMin + 1, kMax, kMax) +
                   TestSkin::slot(47, "segment.bmp", kMax, kMax, kMax, kMax));
  FormHarness h(skin, testing::windowedStore());
  TForm1& form = *h.form;
  ASSERT_EQ(form.model()[ElementId::im_background].box, (lcd::Box{0, 0, kMax, kMax}));
  for (const std::size_t n : {45u, 46u, 47u}) form.model().show(skin::SkinImages[n]);
  form.show();
  form.move(100, 100);
  QTest::qWait(1);

  const QRegion shape = form.skin().shape();
  EXPECT_TRUE(shape.contains(QPoint(20, 10)));
  EXPECT_FALSE(shape.contains(QPoint(5, 5))) << "the far-away segments add nothing";
  const QImage shown = form.grab().toImage();
  EXPECT_EQ(shown.pixelColor(100, 50), QColor(128, 128, 128));

  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(25, 15));
  EXPECT_EQ(form.controls().DragOrigin, QPoint(25, 15));
  QTest::mouseMove(&form, QPoint(55, 35));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(55, 35));
  EXPECT_EQ(form.pos(), QPoint(130, 120));

  // A face that ends at the window's edge leaves nothing to grab.
  form.model().setBox(ElementId::im_background, {kMin + 1, kMin + 1, kMax, kMax});
  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(25, 15));
  QTest::mouseMove(&form, QPoint(55, 35));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(55, 35));
  EXPECT_EQ(form.pos(), QPoint(130, 120));

  // Full screen: the box is moved by the centring offset, clamped, and drawn.
  form.model().setBox(ElementId::im_background, {0, 0, kMax, kMax});
  form.switchPresentation();
  const lcd::Box face = form.model()[ElementId::im_background].box;
  const QImage full = form.grab().toImage();
  EXPECT_EQ(full.pixelColor(face.left + 100, face.top + 50), QColor(128, 128, 128));
}

TEST_F(Form1Test, TheFaceAndTheAlarmButtonDragTheWindowOnlyWhenWindowed) {
  FormHarness h(skin, testing::windowedStore());
  TForm1& form = *h.form;
  form.show();
  form.move(100, 100);
  QTest::qWait(1);

  QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(25, 15));
  EXPECT_EQ(form.controls().DragOrigin, QPoint(25, 15));
  QTest::mouseMove(&form, QPoint(55, 35));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(55, 35));
  EXPECT_EQ(form.pos(), QPoint(130, 120));

  const QPoint alarm = centreOf(form, ElementId::btn_alarm_top);
  QTest::mousePress(&form, Qt::LeftButton, {}, alarm);
  QTest::mouseMove(&form, alarm + QPoint(-10, 5));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, alarm + QPoint(-10, 5));
  EXPECT_EQ(form.pos(), QPoint(120, 125));

  const QPoint button = centreOf(form, ElementId::btn_right_top);
  QTest::mousePress(&form, Qt::LeftButton, {}, button);
  QTest::mouseMove(&form, button + QPoint(-40, 0));
  QTest::mouseRelease(&form, Qt::LeftButton, {}, button + QPoint(-40, 0));
  EXPECT_EQ(form.pos(), QPoint(120, 125)) << "button pictures take no part in dragging";

  form.switchPresentation();
  const QPoint face = centreOf(form, ElementId::im_background);
  QTest::mousePress(&form, Qt::LeftButton, {}, face + QPoint(-60, -30));
  QTest::mouseMove(&form, face);
  QTest::mouseRelease(&form, Qt::LeftButton, {}, face);
  EXPECT_EQ(form.pos(), QPoint(0, 0)) << "full screen never moves";
}

TEST_F(Form1Test, FirstActivationShowsTheSplashOnceAndCloseShutsTheSoundDown) {
  testing::ProgramHarness h(skin);
  ui::TSplashForm& splash = h.splash();
  splash.hide();
  EXPECT_TRUE(h.program->SplashPending);
  h.form->FormActivate();
  EXPECT_FALSE(h.program->SplashPending);
  EXPECT_TRUE(splash.isVisible()) << "the first activation brings the splash to the front";
  splash.hide();
  h.form->FormActivate();
  EXPECT_FALSE(splash.isVisible()) << "later activations leave it alone";
  h.form->FormClose();
  EXPECT_EQ(h.sound->calls, (std::vector<std::string>{"free", "free", "free", "close"}))
      << "three null samples freed and the library closed, though sound was never set up";
}

}  // namespace
}  // namespace mk::app
