#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QDir>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>

#include "app_fixture.h"
#include "ui/splash_form.h"

namespace mk::app {
namespace {
using testing::ProgramHarness;
using testing::TestSkin;

void pressKey(QWidget* target, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &release);
}

class SplashTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::application(); }
  TestSkin skin;
};

TEST_F(SplashTest, FirstStartShowsTheDialogWithNoOutputChosenAndPlayDisabled) {
  ProgramHarness h(skin);
  ui::TSplashForm& splash = h.splash();
  EXPECT_TRUE(splash.isVisible());
  EXPECT_FALSE(splash.skippedAtCreation());
  EXPECT_EQ(splash.size(), QSize(460, 420));
  EXPECT_EQ(splash.windowTitle(), "About this game...");
  EXPECT_EQ(splash.cb_sound->currentIndex(), -1);
  EXPECT_FALSE(splash.playEnabled());
  EXPECT_FALSE(splash.btn_play->isVisibleTo(&splash));
  EXPECT_TRUE(splash.btn_play_disabled->isVisibleTo(&splash));
  EXPECT_EQ(splash.btn_play_disabled->toolTip(), "please select sound driver first");
  EXPECT_EQ(splash.im_background->pixmap().size(), QSize(460, 420));
  EXPECT_EQ(splash.btn_play->pixmap().size(), QSize(107, 30));
  EXPECT_EQ(splash.la_game_title->text(), "Marsh Keeper (Vexora, Slimline) Simulator");
  EXPECT_EQ(splash.la_version->text(), "Version 5.00 * Final *");
  EXPECT_TRUE(splash.chb_splashscreen->isChecked());
  ASSERT_EQ(splash.cb_sound->count(), 3);
  // Entries that say on Linux what they choose; the positions stay those the
  // store has always kept.
  EXPECT_EQ(splash.cb_sound->itemText(0), "Desktop sound server");
  EXPECT_EQ(splash.cb_sound->itemText(1), "ALSA sound device");
  EXPECT_EQ(splash.cb_sound->itemData(0, Qt::ToolTipRole).toString(),
            "PulseAudio or PipeWire, whichever the desktop runs");
  EXPECT_EQ(splash.cb_sound->itemText(2), "(no sound)");

  pressKey(splash.cb_sound, Qt::Key_Return);
  pressKey(splash.cb_sound, Qt::Key_1);
  EXPECT_TRUE(splash.isVisible()) << "Enter and 1 do nothing while Play is disabled";
  EXPECT_TRUE(h.sound->calls.empty());

  splash.cb_sound->setCurrentIndex(2);
  EXPECT_TRUE(splash.playEnabled());
  EXPECT_TRUE(splash.btn_play->isVisibleTo(&splash));
  EXPECT_FALSE(splash.btn_play_disabled->isVisibleTo(&splash));
}

TEST_F(SplashTest, PlayStoresTheChoicesCentresTheHandheldAndSwitchesItOn) {
  ProgramHarness h(skin, testing::windowedStore());
  ui::TSplashForm& splash = h.splash();
  splash.cb_sound->setCurrentIndex(2);
  splash.chb_splashscreen->setChecked(false);
  EXPECT_FALSE(h.form->isVisible()) << "nothing of the handheld shows before Play";
  pressKey(splash.cb_sound, Qt::Key_Return);

  EXPECT_FALSE(splash.isVisible());
  EXPECT_TRUE(h.form->isVisible());
  EXPECT_FALSE(h.program->SplashPending) << "cleared before the main window is shown";
  EXPECT_TRUE(h.sound->calls.empty()) << "no sound: the library is never called";
  EXPECT_EQ(h.store->values().at("SoundMode"), "2");
  EXPECT_EQ(h.store->values().at("SplashScreen"), "0");
  EXPECT_FALSE(h.form->popupMenu().isChecked(ui::CheckKind::Splash));
  const QSize s = QGuiApplication::primaryScreen()->geometry().size();
  EXPECT_EQ(h.form->pos(), QPoint((s.width() - 200) / 2, (s.height() - 100) / 2));
  EXPECT_EQ(h.state().GameMode, 1);
  EXPECT_TRUE(h.form->model().isVisible(lcd::ElementId::im_hero_2_body));
}

TEST_F(SplashTest, AStoredChoiceWithTheSplashOffSkipsTheDialogAndStartsAtOnce) {
  auto store = testing::windowedStore();
  store->setText("SoundMode", "0");
  store->setText("SplashScreen", "0");
  ProgramHarness h(skin, store);
  ui::TSplashForm& splash = h.splash();
  EXPECT_TRUE(splash.skippedAtCreation());
  EXPECT_FALSE(splash.isVisible());
  EXPECT_FALSE(h.program->SplashPending) << "the main window's activation must not show it";
  EXPECT_TRUE(splash.im_background->pixmap().isNull()) << "pictures decoded for a dialog never shown";
  EXPECT_EQ(h.sound->calls, (std::vector<std::string>{"init", "output 2", "load Sound/Got.wav",
                                                       "load Sound/Move.wav", "load Sound/Start.wav"}));
  EXPECT_EQ(h.state().GameMode, 1);
  EXPECT_GE(h.form->pos().x(), 0);
  EXPECT_TRUE(h.form->isVisible()) << "Play brings the main window";
}

TEST_F(SplashTest, StoredChoicesOutsideTheListLeaveNothingChosenWhateverTheSplashSetting) {
  for (const char* stored : {"7", "-5", "-1", "x"}) {
    auto store = testing::windowedStore();
    store->setText("SoundMode", stored);
    store->setText("SplashScreen", "0");
    ProgramHarness h(skin, store);
    ui::TSplashForm& splash = h.splash();
    EXPECT_FALSE(splash.skippedAtCreation()) << stored;
    EXPECT_FALSE(splash.playEnabled()) << stored;
    EXPECT_FALSE(splash.chb_splashscreen->isChecked());
  }
}

TEST_F(SplashTest, EscAsksToQuitAndStoresNothing) {
  ProgramHarness h(skin);
  ui::TSplashForm& splash = h.splash();
  splash.cb_sound->setCurrentIndex(0);
  const auto before = h.store->values();
  pressKey(splash.cb_sound, Qt::Key_Escape);
  EXPECT_EQ(h.terminationRequests, 1);
  EXPECT_EQ(h.store->values(), before);
  EXPECT_TRUE(splash.isVisible());
}

TEST_F(SplashTest, FailedSoundSetUpEndsPlayWithTheDialogOpenAndNoModeEntered) {
  ProgramHarness h(skin);
  h.sound->samplesLoad = false;
  ui::TSplashForm& splash = h.splash();
  splash.cb_sound->setCurrentIndex(0);
  splash.btn_playClick();
  EXPECT_EQ(h.terminationRequests, 1);
  ASSERT_EQ(h.errors.size(), 1u);
  EXPECT_EQ(h.errors[0], "Sound folder unproperly installed. Please reinstall the game.");
  EXPECT_TRUE(splash.isVisible());
  EXPECT_EQ(h.state().GameMode, 0);
  EXPECT_EQ(h.store->values().at("SoundMode"), "-1");
  EXPECT_EQ(h.store->values().at("SplashScreen"), "1");
  EXPECT_FALSE(h.form->isVisible()) << "the main window stays out of sight";
}

TEST_F(SplashTest, LinksOpenThroughTheDesktopAndTheDialogStaysOpen) {
  ProgramHarness h(skin);
  ui::TSplashForm& splash = h.splash();
  splash.la_website_2Click();
  splash.la_email_2Click();
  splash.btn_paypalClick();
  ASSERT_EQ(h.openedUrls.size(), 3u);
  EXPECT_EQ(h.openedUrls[0], QUrl::fromLocalFile(QDir::current().absoluteFilePath("Readme.txt")))
      << "the project's own documents, in the game's folder";
  EXPECT_TRUE(splash.isVisible());
}

}  // namespace
}  // namespace mk::app
