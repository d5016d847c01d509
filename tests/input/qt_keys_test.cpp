#include "input/qt_keys.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

using namespace mk::input;
using Pass = KeyRepeatFilter::Pass;

namespace {

QKeyEvent keyEvent(QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                   quint32 scanCode = 0, bool autoRepeat = false) {
  return QKeyEvent(type, key, modifiers, scanCode, 0, 0, QString(), autoRepeat);
}

// The held-back releases arrive from an event loop.
QCoreApplication eventLoop() {
  static int argc = 1;
  static char name[] = "test";
  static char* argv[] = {name, nullptr};
  return QCoreApplication(argc, argv);
}

}  // namespace

// Each of the 44 keys must reach the code its binding holds, whatever
// modifiers are down and whatever the keyboard layout types on the key.
TEST(WindowsKeyCode, BindableKeysMapWithoutRegardToModifiers) {
  EXPECT_EQ(windowsKeyCode(Qt::Key_A, Qt::NoModifier, 38), 65);
  EXPECT_EQ(windowsKeyCode(Qt::Key_A, Qt::ShiftModifier, 38), 65);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Z, Qt::ControlModifier, 0), 90);
  EXPECT_EQ(windowsKeyCode(Qt::Key_0, Qt::NoModifier, 19), 48);
  EXPECT_EQ(windowsKeyCode(Qt::Key_9, Qt::NoModifier, 18), 57);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Up, Qt::NoModifier, 0), 38);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Down, Qt::NoModifier, 0), 40);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Left, Qt::KeypadModifier, 0), 37);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Right, Qt::NoModifier, 0), 39);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Alt, Qt::AltModifier, 0), 18);
  EXPECT_EQ(windowsKeyCode(Qt::Key_AltGr, Qt::NoModifier, 0), 18);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Control, Qt::ControlModifier, 0), 17);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Shift, Qt::ShiftModifier, 0), 16);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Space, Qt::NoModifier, 0), 32);
#if defined(Q_OS_LINUX)
  // Shift+1 types '!' on a US layout, and a French layout types '&' on it
  // without Shift: both are still the 1 key.
  EXPECT_EQ(windowsKeyCode(Qt::Key_Exclam, Qt::ShiftModifier, 10), 49);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Ampersand, Qt::NoModifier, 10), 49);
  EXPECT_EQ(windowsKeyCode(Qt::Key_ParenRight, Qt::ShiftModifier, 19), 48);
  // A Cyrillic layout's letter on the A key.
  EXPECT_EQ(windowsKeyCode(0x6c6, Qt::NoModifier, 38), 65);
#endif
}

TEST(WindowsKeyCode, CommandKeysAndKeysWithoutUse) {
  EXPECT_EQ(windowsKeyCode(Qt::Key_Return, Qt::NoModifier, 0), 13);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Enter, Qt::KeypadModifier, 0), 13);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Escape, Qt::NoModifier, 0), 27);
  EXPECT_EQ(windowsKeyCode(Qt::Key_F1, Qt::NoModifier, 0), 112);
  EXPECT_EQ(windowsKeyCode(Qt::Key_F4, Qt::NoModifier, 0), 115);
  EXPECT_EQ(windowsKeyCode(Qt::Key_F12, Qt::NoModifier, 0), 123);
  // Keypad digits are not the main row's digits.
  EXPECT_EQ(windowsKeyCode(Qt::Key_1, Qt::KeypadModifier, 87), 97);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Tab, Qt::NoModifier, 23), 0);
  EXPECT_EQ(windowsKeyCode(Qt::Key_F13, Qt::NoModifier, 0), 0);
  EXPECT_EQ(windowsKeyCode(Qt::Key_Comma, Qt::NoModifier, 59), 0);
}

// A held key under X11 arrives as press, then (release+press) pairs marked
// auto-repeat, then a plain release: the game must see one press, repeats,
// and exactly one release.
TEST(KeyRepeatFilter, HeldKeyGivesRepeatsAndExactlyOneRelease) {
  KeyRepeatFilter filter;
  auto press = keyEvent(QEvent::KeyPress, Qt::Key_Right);
  auto repeatRelease = keyEvent(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, 0, true);
  auto repeatPress = keyEvent(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, 0, true);
  auto release = keyEvent(QEvent::KeyRelease, Qt::Key_Right);

  EXPECT_EQ(filter.filter(press).pass, Pass::Press);
  EXPECT_EQ(filter.filter(press).code, 39);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(filter.filter(repeatRelease).pass, Pass::Nothing);
    EXPECT_EQ(filter.filter(repeatPress).pass, Pass::RepeatPress);
  }
  EXPECT_TRUE(filter.isHeld(39));
  EXPECT_EQ(filter.filter(release).pass, Pass::Release);
  EXPECT_EQ(filter.filter(release).pass, Pass::Nothing);  // a second, stray release
  EXPECT_FALSE(filter.isHeld(39));
}

TEST(KeyRepeatFilter, ReleasesOnlyKeysThatAreDown) {
  KeyRepeatFilter filter;
  EXPECT_EQ(filter.release(65, false), Pass::Nothing);  // went down before the window had the keyboard
  EXPECT_EQ(filter.press(0), Pass::Nothing);            // keys without a code are not tracked
  // A key held since before the window had the keyboard (the Escape that
  // closed a dialog) only repeats here, so it never fires a command; its
  // release still follows.
  EXPECT_EQ(filter.filter(keyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, true)).pass,
            Pass::RepeatPress);
  EXPECT_EQ(filter.press(49), Pass::Press);
  EXPECT_EQ(filter.releaseAll(), (std::vector<std::uint16_t>{49, 65}));
  EXPECT_EQ(filter.release(49, false), Pass::Nothing);
}

// Qt often misses the mark on X11's release/press pairs (the press has not
// reached it yet); the shared timestamp still tells a repeat from a release.
TEST(KeyRepeatFilter, UnmarkedX11RepeatPairsAreCaughtByTheirTimestamp) {
  QCoreApplication app = eventLoop();
  std::vector<std::uint16_t> released;
  KeyRepeatFilter filter([&](std::uint16_t code) { released.push_back(code); },
                         KeyRepeatFilter::ReleaseTiming::WaitForRepeat);
  ASSERT_TRUE(filter.waitsForRepeat());
  EXPECT_EQ(filter.press(39, false, 100), Pass::Press);
  for (quint64 t = 600; t < 1000; t += 40) {
    EXPECT_EQ(filter.release(39, false, t), Pass::Nothing);
    EXPECT_EQ(filter.press(39, false, t), Pass::RepeatPress);
  }
  EXPECT_EQ(filter.release(39, false, 1500), Pass::Nothing);
  EXPECT_TRUE(released.empty());
  QElapsedTimer waited;
  waited.start();
  while (released.empty() && waited.elapsed() < 2000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  EXPECT_EQ(released, (std::vector<std::uint16_t>{39}));
  EXPECT_FALSE(filter.isHeld(39));

  // Let go and pressed again at once: the release comes first, then the press.
  EXPECT_EQ(filter.press(37, false, 2000), Pass::Press);
  EXPECT_EQ(filter.release(37, false, 2100), Pass::Nothing);
  EXPECT_EQ(filter.press(37, false, 2110), Pass::Press);
  EXPECT_EQ(released, (std::vector<std::uint16_t>{39, 37}));
  EXPECT_EQ(filter.releaseAll(), (std::vector<std::uint16_t>{37}));

  // An Escape held since a dialog closed on it reaches this window as an
  // unmarked pair: only a repeat, which fires no shortcut.
  EXPECT_EQ(filter.release(27, false, 3000), Pass::Nothing);
  EXPECT_EQ(filter.press(27, false, 3000), Pass::RepeatPress);
}

// A window losing the keyboard forgets its held keys, including a release it
// was still holding back: that release must not arrive later as a second one,
// and the key's next press is a press, not a repeat.
TEST(KeyRepeatFilter, ForgettingHeldKeysForgetsTheReleasesHeldBackToo) {
  QCoreApplication app = eventLoop();
  std::vector<std::uint16_t> released;
  KeyRepeatFilter filter([&](std::uint16_t code) { released.push_back(code); },
                         KeyRepeatFilter::ReleaseTiming::WaitForRepeat);
  EXPECT_EQ(filter.press(39, false, 100), Pass::Press);
  EXPECT_EQ(filter.release(39, false, 200), Pass::Nothing);
  EXPECT_EQ(filter.releaseAll(), (std::vector<std::uint16_t>{39}));
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 3 * KeyRepeatFilter::kRepeatWindowMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(filter.press(39, false, 400), Pass::Press);
  EXPECT_TRUE(released.empty()) << "the forgotten release never comes";
}
