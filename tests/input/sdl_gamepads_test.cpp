#include "input/sdl_gamepads.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <vector>

#include "sound/sdl_audio.h"
#include "tests/lib/virtual_pad.h"

using namespace mk::input;
using mk::testing::travel;
using mk::testing::VirtualPad;

namespace {

// The pump's timer needs the application object.
QCoreApplication& application() {
  static int argc = 1;
  static char name[] = "mk_input_pads_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

struct Report {
  std::int32_t pad;
  PadControl control;
  bool down;
  friend bool operator==(const Report&, const Report&) = default;
};

void PrintTo(const Report& r, std::ostream* os) {
  *os << "{pad " << r.pad << ", control " << int(r.control) << (r.down ? ", down}" : ", up}");
}

class GamepadsTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  // What the pads reported since the last call, in order.
  std::vector<Report> taken() {
    pads.pump();
    std::vector<Report> r;
    r.swap(reports);
    return r;
  }
  // The same, for what happened at once: SDL reports it in its own order.
  std::vector<Report> takenTogether() {
    std::vector<Report> r = taken();
    std::sort(r.begin(), r.end(), [](const Report& a, const Report& b) {
      return std::tie(a.pad, a.control, a.down) < std::tie(b.pad, b.control, b.down);
    });
    return r;
  }

  QCoreApplication& app = application();  // before the pads' timer
  std::vector<Report> reports;
  Gamepads pads{[this](const PadEvent& e) { reports.push_back({e.pad, e.control, e.down}); }};
};

using Reports = std::vector<Report>;

}  // namespace

// A pad plugged in after the start is taken, pumped often while it is there
// and seldom again once it is gone; what it held when it went is let go,
// each control once.
TEST_F(GamepadsTest, APadPluggedInLaterIsTakenAndUnpluggingLetsGoOfWhatItHeld) {
  ASSERT_TRUE(pads.start());
  EXPECT_EQ(pads.connectedCount(), 0);

  VirtualPad pad;
  ASSERT_TRUE(pad.plugged());
  EXPECT_EQ(taken(), Reports{}) << "plugging in presses nothing";
  EXPECT_EQ(pads.connectedCount(), 1);
  EXPECT_EQ(pads.pumpIntervalMs(), Gamepads::kConnectedPumpMs);

  const std::int32_t id = pad.instance();
  pad.press(SDL_CONTROLLER_BUTTON_A);
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  pad.press(SDL_CONTROLLER_BUTTON_Y);  // not one the program answers to
  EXPECT_EQ(takenTogether(), (Reports{{id, PadControl::DpadLeft, true}, {id, PadControl::South, true}}));
  pad.release(SDL_CONTROLLER_BUTTON_A);
  pad.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
  pad.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
  pad.press(SDL_CONTROLLER_BUTTON_BACK);
  pad.press(SDL_CONTROLLER_BUTTON_START);
  pad.press(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(takenTogether(), (Reports{{id, PadControl::LeftShoulder, true},
                                      {id, PadControl::RightShoulder, true},
                                      {id, PadControl::South, false},
                                      {id, PadControl::East, true},
                                      {id, PadControl::Back, true},
                                      {id, PadControl::Start, true}}));

  pad.unplug();
  EXPECT_EQ(takenTogether(), (Reports{{id, PadControl::DpadLeft, false},
                                      {id, PadControl::LeftShoulder, false},
                                      {id, PadControl::RightShoulder, false},
                                      {id, PadControl::East, false},
                                      {id, PadControl::Back, false},
                                      {id, PadControl::Start, false}}));
  EXPECT_EQ(pads.connectedCount(), 0);
  EXPECT_NE(pads.pumpIntervalMs(), Gamepads::kConnectedPumpMs);
}

// Pumping SDL while no pad is connected would cost more than the idle
// clock view: SDL is looked at only for a while after the start and after
// the device folder changes (a pad plugged in), or all the time where
// there is no folder to watch.
TEST_F(GamepadsTest, WithoutAPadSdlIsLookedAtOnlyAfterTheDeviceFolderChanges) {
  const QString root = QDir::temp().filePath(QStringLiteral("mk-pads-%1").arg(QCoreApplication::applicationPid()));
  const QString folder = root + QStringLiteral("/input");
  ASSERT_TRUE(QDir().mkpath(root));
  const auto waitFor = [](const std::function<bool()>& done, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
  };
  {
    Gamepads watching([](const PadEvent&) {}, folder);
    ASSERT_TRUE(watching.start());
    EXPECT_TRUE(watching.watchesDevices()) << "the parent, until the folder appears";
    EXPECT_EQ(watching.pumpIntervalMs(), Gamepads::kLookingPumpMs) << "just started";
    EXPECT_TRUE(waitFor([&] { return watching.pumpIntervalMs() == 0; }, Gamepads::kLookAfterChangeMs + 2000))
        << "no pad came: nothing is pumped";

    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(waitFor([&] { return watching.pumpIntervalMs() == Gamepads::kLookingPumpMs; }, 2000))
        << "the folder appeared";
    EXPECT_TRUE(waitFor([&] { return watching.pumpIntervalMs() == 0; }, Gamepads::kLookAfterChangeMs + 2000));
    QFile(folder + QStringLiteral("/event7")).open(QIODevice::WriteOnly);
    EXPECT_TRUE(waitFor([&] { return watching.pumpIntervalMs() == Gamepads::kLookingPumpMs; }, 2000))
        << "a device node appeared in it";
  }
  QDir(root).removeRecursively();

  Gamepads blind([](const PadEvent&) {}, QStringLiteral("/nonexistent-mk/input"));
  ASSERT_TRUE(blind.start());
  EXPECT_FALSE(blind.watchesDevices());
  EXPECT_FALSE(waitFor([&] { return blind.pumpIntervalMs() != Gamepads::kLookingPumpMs; },
                       Gamepads::kLookAfterChangeMs + 500))
      << "nothing to watch: SDL is looked at all the time";
}

// Pads already plugged in when the program starts are taken as well, once
// each, and two pads report apart.
TEST_F(GamepadsTest, PadsPresentAtTheStartAreTakenOnceEach) {
  // The virtual pads need SDL's joystick subsystem before the program starts it.
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  {
    VirtualPad first;
    VirtualPad second;
    ASSERT_TRUE(pads.start());
    EXPECT_EQ(taken(), Reports{});
    EXPECT_EQ(pads.connectedCount(), 2);
    first.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    second.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    EXPECT_EQ(takenTogether(), (Reports{{first.instance(), PadControl::DpadRight, true},
                                        {second.instance(), PadControl::DpadRight, true}}));
    second.unplug();
    EXPECT_EQ(taken(), (Reports{{second.instance(), PadControl::DpadRight, false}}));
    EXPECT_EQ(pads.connectedCount(), 1);
    EXPECT_EQ(pads.pumpIntervalMs(), Gamepads::kConnectedPumpMs) << "one is still there";
  }
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

// The left stick gives four directions; a stick resting at 20 % gives none,
// and one swept from side to side lets go of one direction before it
// presses the other.
TEST_F(GamepadsTest, TheLeftStickPressesItsFourDirectionsPastHalfItsTravel) {
  ASSERT_TRUE(pads.start());
  VirtualPad pad;
  taken();
  const std::int32_t id = pad.instance();
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, travel(0.2));
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -travel(0.2));
  EXPECT_EQ(taken(), Reports{});
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, travel(0.6));
  EXPECT_EQ(taken(), (Reports{{id, PadControl::StickRight, true}}));
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, travel(0.4));
  EXPECT_EQ(taken(), Reports{}) << "still above a third";
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -travel(0.9));
  EXPECT_EQ(taken(), (Reports{{id, PadControl::StickRight, false}, {id, PadControl::StickLeft, true}}));
  pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -travel(0.7));
  EXPECT_EQ(taken(), (Reports{{id, PadControl::StickLeft, false}, {id, PadControl::StickUp, true}}));
  pad.axis(SDL_CONTROLLER_AXIS_LEFTY, travel(0.7));
  EXPECT_EQ(taken(), (Reports{{id, PadControl::StickUp, false}, {id, PadControl::StickDown, true}}));
  pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, travel(1.0));
  pad.axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, travel(1.0));
  EXPECT_EQ(taken(), Reports{}) << "the right stick and the triggers do nothing";
}

// The sound opens and closes SDL's audio while the pads run, and the pads
// may go while the sound plays: neither shuts the other's side of SDL down.
TEST_F(GamepadsTest, TheSoundAndThePadsShareSdlWithoutShuttingEachOtherDown) {
  ASSERT_TRUE(pads.start());
  VirtualPad pad;
  taken();
  {
    mk::sound::SdlAudioLayer audio;
    ASSERT_TRUE(audio.init(22050, 8, 0));
    ASSERT_TRUE(audio.setOutput(mk::sound::kOutputDirectSound));
    audio.close();
  }
  pad.press(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(taken(), (Reports{{pad.instance(), PadControl::South, true}})) << "the pads still report";
  pad.unplug();
  taken();

  mk::sound::SdlAudioLayer audio;
  ASSERT_TRUE(audio.init(22050, 8, 0));
  ASSERT_TRUE(audio.setOutput(mk::sound::kOutputDirectSound));
  {
    Gamepads others([](const PadEvent&) {});
    ASSERT_TRUE(others.start());
  }
  EXPECT_NE(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the audio device is still open";
  EXPECT_EQ(audio.driver(), "dummy");
  EXPECT_TRUE(audio.stopSound(mk::sound::kAllChannels));
}

// Without SDL (a broken installation) the pads never start: nothing is
// pumped and nothing crashes, at the start or at the end.
TEST(GamepadsWithoutSdl, NeverStartAndNothingIsPumped) {
  application();
  Gamepads pads([](const PadEvent&) { ADD_FAILURE() << "nothing to report"; }, QStringLiteral("/dev/input"),
                []() -> const mk::sdl::Api* { return nullptr; });
  EXPECT_FALSE(pads.start());
  EXPECT_FALSE(pads.isStarted());
  pads.pump();
  EXPECT_EQ(pads.pumpIntervalMs(), 0);
  EXPECT_EQ(pads.connectedCount(), 0);
}
