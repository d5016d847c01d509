#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include "app_fixture.h"
#include "tests/lib/virtual_pad.h"
#include "ui/keys_form.h"

namespace mk::app {
namespace {
using lcd::ElementId;
using input::Gamepads;
using mk::testing::travel;
using mk::testing::VirtualPad;
using testing::FormHarness;
using testing::TestSkin;

void sendKey(QWidget* target, QEvent::Type type, Qt::Key key) {
  QKeyEvent event(type, key, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

// Pads only work while one of the program's windows is the active one.
void showActive(QWidget& window) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// The main window on screen with the keyboard, its game controllers
// started, play begun: every segment lit.
struct PadHarness : FormHarness {
  explicit PadHarness(const TestSkin& skin, std::shared_ptr<settings::MemorySettingsStore> initial = nullptr)
      : FormHarness(skin, std::move(initial)) {
    showActive(*form);
    form->pads().start();
    form->handheld().switchOn();
  }
  // What the pads did reaches the window.
  void pump() { form->pads().gamepads().pump(); }
  bool shown(ElementId id) { return form->model().isVisible(id); }

  // From all segments lit to the clock, then a game started by `start`
  // (LEFT: Game A, RIGHT: Game B), waited for until the hero may move.
  void startGame(VirtualPad& pad, SDL_GameControllerButton start) {
    pad.press(SDL_CONTROLLER_BUTTON_A);
    pump();
    pad.release(SDL_CONTROLLER_BUTTON_A);
    pump();
    ASSERT_EQ(state().GameMode, engine::kModeClock);
    pad.press(start);
    pump();
    pad.release(start);
    pump();
    waitUntilLive();
  }
  // A catch holds the hero still for a moment; the tests move him only when he may move.
  void waitUntilLive() {
    for (int i = 0; i < 300 && !state().PlayLive; ++i) QTest::qWait(10);
    ASSERT_TRUE(state().PlayLive);
  }
  // One press and release of a pad control while play is live: where the hero is afterwards.
  int step(VirtualPad& pad, SDL_GameControllerButton button) {
    waitUntilLive();
    pad.press(button);
    pump();
    const int lane = state().HeroLane;
    pad.release(button);
    pump();
    return lane;
  }
};

// Counts how often a pressed picture is hidden: once per release the game gets.
struct ReleaseCounter final : lcd::ElementObserver {
  ReleaseCounter(lcd::ElementModel& model, ElementId pressed) : model_(model), pressed_(pressed) {
    model_.addObserver(this);
  }
  ~ReleaseCounter() override { model_.removeObserver(this); }
  void visibilityChanged(ElementId id, bool visible) override {
    if (id == pressed_ && !visible) ++releases;
  }
  int releases = 0;

 private:
  lcd::ElementModel& model_;
  ElementId pressed_;
};

class GamepadTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::application(); }
  TestSkin skin;
};

// Each mapped control does on the handheld what its button's key does:
// A is TIME (the alarm time while held), Back is ACL, LEFT and RIGHT come
// from the D-pad, the shoulders and the stick alike.
TEST_F(GamepadTest, EveryMappedControlWorksItsHandheldButton) {
  PadHarness h(skin, testing::windowedStore());
  VirtualPad pad;
  h.pump();

  pad.press(SDL_CONTROLLER_BUTTON_A);
  h.pump();
  EXPECT_EQ(h.state().GameMode, engine::kModeAlarmView) << "TIME held shows the alarm time";
  EXPECT_TRUE(h.shown(ElementId::btn_time_down));
  pad.release(SDL_CONTROLLER_BUTTON_A);
  h.pump();
  EXPECT_EQ(h.state().GameMode, engine::kModeClock);
  EXPECT_FALSE(h.shown(ElementId::btn_time_down));

  pad.press(SDL_CONTROLLER_BUTTON_BACK);
  h.pump();
  EXPECT_EQ(h.state().GameMode, engine::kModeOff) << "ACL held: everything dark";
  pad.release(SDL_CONTROLLER_BUTTON_BACK);
  h.pump();
  EXPECT_EQ(h.state().GameMode, engine::kModeAllOn);

  h.startGame(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  EXPECT_EQ(h.state().GameMode, engine::kModeGameA) << "LEFT starts Game A from the clock";
  ASSERT_EQ(h.state().HeroLane, 2);
  EXPECT_EQ(h.step(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT), 3);
  EXPECT_EQ(h.step(pad, SDL_CONTROLLER_BUTTON_LEFTSHOULDER), 2);
  EXPECT_EQ(h.step(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT), 1);
  EXPECT_EQ(h.step(pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), 2);

  h.waitUntilLive();
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, travel(0.8));
  h.pump();
  EXPECT_EQ(h.state().HeroLane, 3) << "the stick pushed right";
  EXPECT_TRUE(h.shown(ElementId::btn_right_down));
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  h.pump();
  EXPECT_FALSE(h.shown(ElementId::btn_right_down));
  h.waitUntilLive();
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -travel(0.8));
  h.pump();
  EXPECT_EQ(h.state().HeroLane, 2) << "the stick pushed left";
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  h.pump();
  EXPECT_FALSE(h.shown(ElementId::btn_left_down));
}

// A stick never rests exactly at its centre; one resting at 20 % of its
// travel, in any direction, must press nothing.
TEST_F(GamepadTest, AStickRestingAtTwentyPercentPressesNothing) {
  PadHarness h(skin, testing::windowedStore());
  VirtualPad pad;
  h.pump();
  h.form->handheld().press(engine::Button::Time);
  h.form->handheld().release(engine::Button::Time);
  ASSERT_EQ(h.state().GameMode, engine::kModeClock);
  for (const int rest : {travel(0.2), -travel(0.2)}) {
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, rest);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, rest);
    h.pump();
    EXPECT_EQ(h.state().GameMode, engine::kModeClock) << rest;
    EXPECT_FALSE(h.shown(ElementId::btn_left_down));
    EXPECT_FALSE(h.shown(ElementId::btn_right_down));
  }
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, travel(0.6));
  h.pump();
  EXPECT_EQ(h.state().GameMode, engine::kModeGameB) << "past half its travel it presses RIGHT";
}

// Unplugged while it holds TIME, the pad lets go: the alarm time goes
// back to the clock, and nothing else is said.
TEST_F(GamepadTest, UnpluggingAPadReleasesWhatItHeld) {
  PadHarness h(skin, testing::windowedStore());
  VirtualPad pad;
  h.pump();
  pad.press(SDL_CONTROLLER_BUTTON_A);
  h.pump();
  ASSERT_EQ(h.state().GameMode, engine::kModeAlarmView);
  pad.unplug();
  h.pump();
  EXPECT_EQ(h.state().GameMode, engine::kModeClock);
  EXPECT_FALSE(h.shown(ElementId::btn_time_down));
  EXPECT_TRUE(h.errors.empty());
  EXPECT_EQ(h.form->pads().gamepads().connectedCount(), 0);
}

// Two pads and the keyboard hold LEFT together: the button goes up once,
// when the last of them lets go, whichever it is.
TEST_F(GamepadTest, KeysAndPadsHoldAButtonTogetherUntilTheLastLetsGo) {
  PadHarness h(skin, testing::windowedStore());
  ReleaseCounter counter(h.form->model(), ElementId::btn_left_down);
  VirtualPad first;
  VirtualPad second;
  h.pump();
  EXPECT_EQ(h.form->pads().gamepads().connectedCount(), 2);

  sendKey(h.form.get(), QEvent::KeyPress, Qt::Key_Left);
  first.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  second.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
  h.pump();
  sendKey(h.form.get(), QEvent::KeyRelease, Qt::Key_Left);
  EXPECT_TRUE(h.shown(ElementId::btn_left_down)) << "the pads still hold LEFT";
  first.release(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  h.pump();
  EXPECT_TRUE(h.shown(ElementId::btn_left_down)) << "the second pad still holds it";
  EXPECT_EQ(counter.releases, 0);
  second.release(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
  h.pump();
  EXPECT_FALSE(h.shown(ElementId::btn_left_down));
  EXPECT_EQ(counter.releases, 1);

  // The key last this time; and the second pad alone works as well.
  first.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  h.pump();
  sendKey(h.form.get(), QEvent::KeyPress, Qt::Key_Left);
  first.release(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  h.pump();
  EXPECT_TRUE(h.shown(ElementId::btn_left_down)) << "the key still holds it";
  sendKey(h.form.get(), QEvent::KeyRelease, Qt::Key_Left);
  EXPECT_EQ(counter.releases, 2);
  second.press(SDL_CONTROLLER_BUTTON_A);
  h.pump();
  EXPECT_EQ(h.state().GameMode, engine::kModeAlarmView);
}

// The game relies on repeats: with LEFT held through a moment in which the
// hero cannot move, the next repeated press moves him. Here RIGHT pressed
// and let go while LEFT is held clears the latch of LEFT's first step, so
// only a repeat of the held LEFT can take the second step; it comes, and
// the button still goes up once.
TEST_F(GamepadTest, AHeldPadButtonRepeatsItsPressLikeAHeldKey) {
  PadHarness h(skin, testing::windowedStore());
  VirtualPad pad;
  h.pump();
  h.startGame(pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  ASSERT_EQ(h.step(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT), 3);
  ReleaseCounter counter(h.form->model(), ElementId::btn_left_down);

  h.waitUntilLive();
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  h.pump();
  ASSERT_EQ(h.state().HeroLane, 2);
  pad.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
  h.pump();
  pad.release(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
  h.pump();
  EXPECT_EQ(h.state().HeroLane, 2) << "RIGHT was taken by the latch";
  for (int i = 0; i < 200 && h.state().HeroLane != 1; ++i) QTest::qWait(10);
  EXPECT_EQ(h.state().HeroLane, 1) << "a repeated press of the held LEFT";
  EXPECT_TRUE(h.shown(ElementId::btn_left_down));
  EXPECT_EQ(counter.releases, 0) << "repeats press; they never release";
  pad.release(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  h.pump();
  EXPECT_EQ(counter.releases, 1);
}

// A button held on the handheld when a menu comes up is let go at once,
// as a key is when another window takes the keyboard, and only once.
TEST_F(GamepadTest, AButtonHeldWhenTheMenuComesUpIsLetGoOnce) {
  PadHarness h(skin);
  ReleaseCounter counter(h.form->model(), ElementId::btn_left_down);
  VirtualPad pad;
  h.pump();
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  h.pump();
  ASSERT_TRUE(h.shown(ElementId::btn_left_down));
  pad.press(SDL_CONTROLLER_BUTTON_START);
  h.pump();
  ASSERT_TRUE(h.form->gameMenu().GameMenuOpen);
  QTest::qWait(3 * PadControls::kRepeatIntervalMs);
  EXPECT_FALSE(h.shown(ElementId::btn_left_down));
  EXPECT_EQ(counter.releases, 1);
  pad.release(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  pad.release(SDL_CONTROLLER_BUTTON_START);
  h.pump();
  EXPECT_EQ(counter.releases, 1);
  EXPECT_TRUE(h.form->gameMenu().GameMenuOpen);
}

// Start in full screen opens the in-game menu on its first row, the D-pad
// moves over the separators and round, B closes it, A runs the row; while it
// is open the pad presses no handheld button.
TEST_F(GamepadTest, StartOpensTheInGameMenuInFullScreenAndThePadWorksIt) {
  PadHarness h(skin);
  ui::GameMenu& menu = h.form->gameMenu();
  VirtualPad pad;
  h.pump();
  const auto tap = [&](SDL_GameControllerButton button) {
    pad.press(button);
    h.pump();
    pad.release(button);
    h.pump();
  };

  tap(SDL_CONTROLLER_BUTTON_START);
  ASSERT_TRUE(menu.GameMenuOpen);
  EXPECT_EQ(menu.selectedRow(), 1);
  EXPECT_TRUE(menu.GameMenuRows().at(0)->autoFillBackground()) << "highlighted like a row under the pointer";
  for (const int expected : {2, 3, 4, 6}) {
    tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(menu.selectedRow(), expected);
  }
  EXPECT_FALSE(menu.GameMenuRows().at(0)->autoFillBackground());
  EXPECT_TRUE(menu.GameMenuRows().at(5)->autoFillBackground());
  tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_EQ(menu.selectedRow(), 4);
  tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_FALSE(menu.GameMenuOpen) << "A ran View manual (there is none here) and closed the menu";
  EXPECT_EQ(h.state().GameMode, engine::kModeAllOn) << "neither LEFT nor TIME reached the handheld";

  tap(SDL_CONTROLLER_BUTTON_START);
  tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_EQ(menu.selectedRow(), 13) << "round from the first row to the last";
  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_FALSE(menu.GameMenuOpen);

  tap(SDL_CONTROLLER_BUTTON_START);
  for (int i = 0; i < 6; ++i) tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  ASSERT_EQ(menu.selectedRow(), 8);
  h.store->setText("HiScore1", "12");
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(h.store->values().at("HiScore1"), "0") << "Reset Hiscores ran";
  EXPECT_FALSE(menu.GameMenuOpen);

  tap(SDL_CONTROLLER_BUTTON_START);
  tap(SDL_CONTROLLER_BUTTON_START);
  EXPECT_FALSE(menu.GameMenuOpen) << "Start closes it again";
}

// In the window, Start opens the popup menu where a right click at the
// middle of the handheld would, with its first item chosen; the D-pad, A
// and B work it as the arrow keys, Enter and Esc do.
TEST_F(GamepadTest, StartOpensThePopupMenuAtTheWindowsCentreWhenWindowed) {
  PadHarness h(skin, testing::windowedStore());
  QMenu& menu = *h.form->popupMenu().pm_0_menu;
  VirtualPad pad;
  h.pump();
  const auto tap = [&](SDL_GameControllerButton button) {
    pad.press(button);
    h.pump();
    pad.release(button);
    h.pump();
  };

  tap(SDL_CONTROLLER_BUTTON_START);
  ASSERT_TRUE(menu.isVisible());
  EXPECT_EQ(menu.pos(), h.form->mapToGlobal(QPoint(100, 50)));
  EXPECT_EQ(menu.activeAction(), h.form->popupMenu().item(1));
  tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  EXPECT_EQ(menu.activeAction(), h.form->popupMenu().item(2));
  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_FALSE(menu.isVisible());

  tap(SDL_CONTROLLER_BUTTON_START);
  for (int i = 0; i < 6; ++i) tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  ASSERT_EQ(menu.activeAction(), h.form->popupMenu().item(8)) << "past the separator";
  h.store->setText("HiScore2", "5");
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_FALSE(menu.isVisible());
  EXPECT_EQ(h.store->values().at("HiScore2"), "0") << "Reset Hiscores ran";
  EXPECT_EQ(h.state().GameMode, engine::kModeAllOn) << "A was not TIME meanwhile";
}

// SDL's controller layer takes a few milliseconds to start: the program
// starts it only once its first window has been painted.
TEST_F(GamepadTest, TheProgramTakesTheControllersAfterItsFirstPaint) {
  struct PaintSeen final : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint) seen = true;
      return false;
    }
    bool seen = false;
  } paint;
  qApp->installEventFilter(&paint);
  testing::ProgramHarness h(skin);
  const Gamepads& pads = h.form->pads().gamepads();
  EXPECT_FALSE(pads.isStarted());
  for (int i = 0; i < 200 && !pads.isStarted(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (pads.isStarted()) {
      EXPECT_TRUE(paint.seen) << "started before anything was painted";
    }
  }
  qApp->removeEventFilter(&paint);
  EXPECT_TRUE(pads.isStarted());
}

// The dialogs take the pad as they take the keys: on the splash B does
// nothing (its Esc would end the program), the D-pad chooses the sound and
// A plays; while the key dialog is open the handheld gets nothing, A
// accepts as Enter does and B leaves as Esc does.
TEST_F(GamepadTest, DialogsTakeAAsEnterAndBAsEscExceptTheSplashsB) {
  testing::ProgramHarness h(skin);
  ui::TSplashForm& splash = h.splash();
  showActive(splash);
  h.form->pads().start();
  VirtualPad pad;
  h.form->pads().gamepads().pump();
  const auto tap = [&](SDL_GameControllerButton button) {
    pad.press(button);
    h.form->pads().gamepads().pump();
    pad.release(button);
    h.form->pads().gamepads().pump();
  };

  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(h.terminationRequests, 0);
  EXPECT_TRUE(splash.isVisible());
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_TRUE(splash.isVisible()) << "no sound output chosen yet";
  tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  ASSERT_TRUE(splash.playEnabled());
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_FALSE(splash.isVisible());
  EXPECT_EQ(h.state().GameMode, engine::kModeAllOn) << "Play, and A did not press TIME on its way up";
  showActive(*h.form);

  ui::TKeysForm& keys = *h.program->KeysForm;
  h.form->commands().pm_7_keysClick();
  ASSERT_TRUE(keys.isVisible());
  ASSERT_FALSE(h.form->isEnabled());
  pad.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
  pad.press(SDL_CONTROLLER_BUTTON_BACK);
  h.form->pads().gamepads().pump();
  EXPECT_FALSE(h.form->model().isVisible(ElementId::btn_left_down)) << "the handheld is off limits";
  EXPECT_EQ(h.state().GameMode, engine::kModeAllOn);
  pad.release(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
  pad.release(SDL_CONTROLLER_BUTTON_BACK);
  tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_FALSE(keys.isVisible());
  EXPECT_TRUE(h.form->isEnabled());
  EXPECT_EQ(h.terminationRequests, 0) << "B left the dialog, not the program";

  h.form->commands().pm_7_keysClick();
  ASSERT_TRUE(keys.isVisible());
  keys.cb_1->setFocus();
  tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  EXPECT_EQ(keys.cb_1->currentIndex(), 2) << "the D-pad is the arrow keys";
  tap(SDL_CONTROLLER_BUTTON_A);
  EXPECT_FALSE(keys.isVisible());
  EXPECT_EQ(h.store->values().at("Key1"), "3") << "A accepted";
}

}  // namespace
}  // namespace mk::app
