#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "app_fixture.h"

namespace mk::app {
namespace {
using lcd::ElementId;
using testing::FormHarness;
using testing::TestSkin;

void tap(QWidget* target, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &release);
}

int rowsOn(QWidget* window) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  int rows = 0;
  for (QLabel* label : window->findChildren<QLabel*>()) rows += label->isVisible() ? 1 : 0;
  return rows;
}

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::application(); }
  TestSkin skin;
};

TEST_F(MenusTest, TheMenuSymbolOpensAndClosesTheInGameMenuOnlyInFullScreen) {
  FormHarness h(skin);
  TForm1& form = *h.form;
  form.show();
  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(form.gameMenu().GameMenuOpen);
  EXPECT_EQ(form.model()[ElementId::btn_game_menu_background].box, (lcd::Box{0, 0, 256, 448}));
  EXPECT_EQ(rowsOn(&form), 13);

  QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_FALSE(form.gameMenu().GameMenuOpen);
  EXPECT_EQ(form.model()[ElementId::btn_game_menu_background].box, (lcd::Box{0, 0, 36, 32}));
  EXPECT_EQ(rowsOn(&form), 0);
}

// The switch closes the in-game menu first, so no row is left on the window.
TEST_F(MenusTest, F12WithTheInGameMenuOpenSwitchesToTheWindowAndLeavesNoRowBehind) {
  FormHarness h(skin);
  TForm1& form = *h.form;
  form.show();
  form.gameMenu().btn_game_menu_topClick();
  ASSERT_TRUE(form.gameMenu().GameMenuOpen);
  tap(&form, Qt::Key_F12);
  EXPECT_FALSE(form.FullscreenMode);
  EXPECT_FALSE(form.popupMenu().isChecked(ui::CheckKind::Fullscreen));
  EXPECT_FALSE(form.gameMenu().GameMenuOpen);
  EXPECT_EQ(rowsOn(&form), 0);
  EXPECT_FALSE(form.model().isVisible(ElementId::btn_game_menu_top)) << "no menu button when windowed";
}

TEST_F(MenusTest, OpeningThePopupInFullScreenClosesTheInGameMenuAndRefreshesTheSplashMark) {
  FormHarness h(skin);
  TForm1& form = *h.form;
  form.gameMenu().btn_game_menu_topClick();
  h.store->setText("SplashScreen", "0");
  form.commands().pm_0_menuPopup();
  EXPECT_FALSE(form.gameMenu().GameMenuOpen);
  EXPECT_FALSE(form.popupMenu().isChecked(ui::CheckKind::Splash)) << "the stored state, read at every opening";
}

TEST_F(MenusTest, ResetHiscoresStoresZeroForBothAndLeavesTheDisplayAlone) {
  auto store = testing::windowedStore();
  store->setText("HiScore1", "40");
  store->setText("HiScore2", "7");
  FormHarness h(skin, store);
  h.form->handheld().switchOn();
  h.form->commands().pm_8_hiscoreClick();
  EXPECT_EQ(h.store->values().at("HiScore1"), "0");
  EXPECT_EQ(h.state().HiScore1, 0);
  EXPECT_EQ(h.store->values().at("HiScore2"), "0");
  EXPECT_TRUE(h.form->model().isVisible(ElementId::im_hero_1_body));
}

TEST_F(MenusTest, TheSplashItemInvertsItsMarkAndStoresItWithoutTouchingTheDialog) {
  FormHarness h(skin);
  ASSERT_TRUE(h.form->popupMenu().isChecked(ui::CheckKind::Splash));
  h.form->commands().pm_11_splashscreenClick();
  EXPECT_FALSE(h.form->popupMenu().isChecked(ui::CheckKind::Splash));
  EXPECT_EQ(h.store->values().at("SplashScreen"), "0");
  h.form->commands().pm_11_splashscreenClick();
  EXPECT_EQ(h.store->values().at("SplashScreen"), "1");
}

TEST_F(MenusTest, EscAndExitAskToQuitWithoutTheCloseHandler) {
  FormHarness h(skin);
  tap(h.form.get(), Qt::Key_Escape);
  EXPECT_EQ(h.terminationRequests, 1);
  h.form->commands().pm_14_exitClick();
  EXPECT_EQ(h.terminationRequests, 2);
  EXPECT_TRUE(h.sound->calls.empty()) << "the sound output was not shut down";
}

TEST_F(MenusTest, DocumentsOpenRelativeToTheGamesFolder) {
  FormHarness h(skin);
  h.form->commands().pm_2_readmeClick();
  h.form->commands().pm_3_whatsnewClick();
  h.form->commands().pm_6_configClick();
  ASSERT_EQ(h.openedUrls.size(), 3u);
  EXPECT_EQ(h.openedUrls[0], QUrl::fromLocalFile(QDir::current().absoluteFilePath("Readme.txt")));
  EXPECT_EQ(h.openedUrls[2].fileName(), "Config.ini");
}

}  // namespace
}  // namespace mk::app
