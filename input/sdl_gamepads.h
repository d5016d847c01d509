#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "input/pad_mapping.h"
#include "sound/sdl_library.h"

namespace mk::input {

struct PadEvent {
  std::int32_t pad = 0;  // SDL's instance number: a pad keeps it while it stays plugged in
  PadControl control = PadControl::DpadLeft;
  bool down = false;
};

// The game controllers, through SDL's controller layer: every pad SDL has a
// mapping for, plugged in before the start or later, each reported as
// presses and releases of the controls of PadControl. Each control goes
// down and up in turn; a pad unplugged first lets go of what it held.
//
// SDL gathers controller input and hot-plugging only when it is pumped (its
// own waiting wakes up about 900 times a second), so a timer on the
// caller's thread pumps it: 100 times a second while a pad is connected.
// While none is, every wake-up would cost more than the idle clock view
// itself, so the folder of the input devices is watched instead and a
// change there (a pad plugged in) has SDL looked at three times a second
// for a few seconds, long enough for SDL to take the new device. Where
// there is no such folder to watch, SDL is looked at three times a second
// all the time.
//
// SDL's subsystems are reference counted: this layer initialises and quits
// only the controller subsystem (with the joystick and event subsystems it
// needs), so the sound's opening and closing of SDL's audio leave it alone,
// and the other way round.
class Gamepads {
 public:
  using Listener = std::function<void(const PadEvent&)>;
  static constexpr int kLookingPumpMs = 333;
  static constexpr int kConnectedPumpMs = 10;
  static constexpr int kLookAfterChangeMs = 3000;

  // `deviceFolder`: where the system adds a node for each input device; its
  // parent is watched for it to appear while it does not exist. SDL is
  // loaded by `loader` at the start, not before.
  explicit Gamepads(Listener listener, QString deviceFolder = QStringLiteral("/dev/input"),
                    sdl::Loader loader = &sdl::library);
  ~Gamepads();  // closes the pads without reporting anything and quits the controller subsystem
  Gamepads(const Gamepads&) = delete;
  Gamepads& operator=(const Gamepads&) = delete;

  // Starts SDL's controller layer and the pumping; the pads connected now
  // are reported by the first pump. False, and nothing ever pumped, when
  // SDL is missing or cannot start it.
  bool start();
  bool isStarted() const { return started_; }

  // Takes in what SDL has gathered and reports it. The timer calls it; a
  // call made while a report is being handled is left to the next one.
  void pump();

  int connectedCount() const { return static_cast<int>(pads_.size()); }
  // 0 while SDL is not being pumped: no pad, and nothing new in the device folder.
  int pumpIntervalMs() const { return timer_.isActive() ? timer_.interval() : 0; }
  // False where no device folder can be watched: SDL is looked at all the time.
  bool watchesDevices() const { return !devices_.directories().isEmpty(); }

 private:
  struct Pad;
  Pad* find(std::int32_t instance);
  void open(int deviceIndex);
  void close(std::int32_t instance, std::vector<PadEvent>& reports);
  void watchDevices();
  void devicesChanged();
  void schedule();

  Listener listener_;
  QString deviceFolder_;
  sdl::Loader loader_;
  const sdl::Api* sdl_ = nullptr;
  QFileSystemWatcher devices_;
  QElapsedTimer clock_;
  qint64 lookUntilMs_ = 0;
  QTimer timer_;
  bool started_ = false;
  bool reporting_ = false;
  std::vector<std::unique_ptr<Pad>> pads_;
};

}  // namespace mk::input
