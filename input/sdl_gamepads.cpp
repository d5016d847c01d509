#include "input/sdl_gamepads.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <bitset>
#include <optional>
#include <span>
#include <utility>

namespace mk::input {

namespace {

std::optional<PadControl> controlOf(std::uint8_t sdlButton) {
  switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadControl::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadControl::DpadRight;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadControl::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadControl::DpadDown;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
      return PadControl::LeftShoulder;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
      return PadControl::RightShoulder;
    case SDL_CONTROLLER_BUTTON_A:
      return PadControl::South;
    case SDL_CONTROLLER_BUTTON_B:
      return PadControl::East;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadControl::Back;
    case SDL_CONTROLLER_BUTTON_START:
      return PadControl::Start;
    default:
      return std::nullopt;
  }
}

}  // namespace

struct Gamepads::Pad {
  std::int32_t instance = 0;
  SDL_GameController* controller = nullptr;
  std::bitset<kPadControlCount> held;
  StickAxis x;
  StickAxis y;  // SDL's up is negative

  void set(PadControl control, bool down, std::vector<PadEvent>& reports) {
    const auto bit = static_cast<std::size_t>(control);
    if (held[bit] == down) return;
    held[bit] = down;
    reports.push_back({instance, control, down});
  }
  void stick(StickAxis& axis, int value, PadControl negative, PadControl positive,
             std::vector<PadEvent>& reports) {
    const StickAxis::Direction direction = axis.update(value);
    const bool towardNegative = direction == StickAxis::Direction::Negative;
    const bool towardPositive = direction == StickAxis::Direction::Positive;
    // Releases before presses: a stick flicked across never holds both directions.
    if (!towardNegative) set(negative, false, reports);
    if (!towardPositive) set(positive, false, reports);
    if (towardNegative) set(negative, true, reports);
    if (towardPositive) set(positive, true, reports);
  }
};

Gamepads::Gamepads(Listener listener, QString deviceFolder, sdl::Loader loader)
    : listener_(std::move(listener)), deviceFolder_(std::move(deviceFolder)), loader_(loader) {
  clock_.start();
  timer_.setTimerType(Qt::CoarseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { pump(); });
  QObject::connect(&devices_, &QFileSystemWatcher::directoryChanged, &timer_, [this] { devicesChanged(); });
}

Gamepads::~Gamepads() {
  timer_.stop();
  for (const std::unique_ptr<Pad>& pad : pads_) sdl_->GameControllerClose(pad->controller);
  pads_.clear();
  if (started_) sdl_->QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool Gamepads::start() {
  if (started_) return true;
  sdl_ = loader_();
  if (!sdl_) return false;
  // SDL must not take over SIGINT/SIGTERM from the program.
  sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (sdl_->InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
  started_ = true;
  watchDevices();
  // The pads plugged in already are reported from SDL's start on, some of
  // them (those SDL talks to directly) a moment later.
  lookUntilMs_ = clock_.elapsed() + kLookAfterChangeMs;
  pump();
  return true;
}

void Gamepads::watchDevices() {
  const QFileInfo folder(deviceFolder_);
  if (folder.isDir()) {
    devices_.addPath(folder.filePath());
  } else if (const QFileInfo parent(folder.path()); parent.isDir()) {
    devices_.addPath(parent.filePath());
  }
}

void Gamepads::devicesChanged() {
  if (!devices_.directories().contains(deviceFolder_) && QFileInfo(deviceFolder_).isDir())
    devices_.addPath(deviceFolder_);
  lookUntilMs_ = clock_.elapsed() + kLookAfterChangeMs;
  pump();
}

void Gamepads::schedule() {
  int interval = 0;
  if (!pads_.empty())
    interval = kConnectedPumpMs;
  else if (!watchesDevices() || clock_.elapsed() < lookUntilMs_)
    interval = kLookingPumpMs;
  if (interval == 0)
    timer_.stop();
  else if (!timer_.isActive() || timer_.interval() != interval)
    timer_.start(interval);
}

Gamepads::Pad* Gamepads::find(std::int32_t instance) {
  for (const std::unique_ptr<Pad>& pad : pads_)
    if (pad->instance == instance) return pad.get();
  return nullptr;
}

void Gamepads::open(int deviceIndex) {
  // SDL reports the pads present at its start both from its start and from
  // its first look for new devices.
  if (find(sdl_->JoystickGetDeviceInstanceID(deviceIndex))) return;
  SDL_GameController* controller = sdl_->GameControllerOpen(deviceIndex);
  if (!controller) return;
  auto pad = std::make_unique<Pad>();
  pad->instance = sdl_->JoystickInstanceID(sdl_->GameControllerGetJoystick(controller));
  pad->controller = controller;
  pads_.push_back(std::move(pad));
}

void Gamepads::close(std::int32_t instance, std::vector<PadEvent>& reports) {
  Pad* pad = find(instance);
  if (!pad) return;
  for (std::size_t bit = 0; bit < kPadControlCount; ++bit)
    if (pad->held[bit]) pad->set(static_cast<PadControl>(bit), false, reports);
  sdl_->GameControllerClose(pad->controller);
  std::erase_if(pads_, [pad](const std::unique_ptr<Pad>& p) { return p.get() == pad; });
}

void Gamepads::pump() {
  if (!started_ || reporting_) return;
  sdl_->PumpEvents();
  std::vector<PadEvent> reports;
  std::array<SDL_Event, 32> events;
  int count = 0;
  // Every event is taken, also those of no use here (the joystick events
  // the controller events are made from, audio devices coming and going),
  // so SDL's queue never fills up.
  while ((count = sdl_->PeepEvents(events.data(), static_cast<int>(events.size()), SDL_GETEVENT,
                                   SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
    for (const SDL_Event& e : std::span(events.data(), static_cast<std::size_t>(count))) {
      switch (e.type) {
        case SDL_CONTROLLERDEVICEADDED:
          open(e.cdevice.which);
          break;
        case SDL_CONTROLLERDEVICEREMOVED:
          close(e.cdevice.which, reports);
          break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
          if (Pad* pad = find(e.cbutton.which))
            if (const auto control = controlOf(e.cbutton.button))
              pad->set(*control, e.cbutton.state == SDL_PRESSED, reports);
          break;
        case SDL_CONTROLLERAXISMOTION:
          if (Pad* pad = find(e.caxis.which)) {
            if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
              pad->stick(pad->x, e.caxis.value, PadControl::StickLeft, PadControl::StickRight, reports);
            else if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
              pad->stick(pad->y, e.caxis.value, PadControl::StickUp, PadControl::StickDown, reports);
          }
          break;
        default:
          break;
      }
    }
  }
  schedule();

  // A report may run a nested event loop (a message box), whose timer calls
  // must not report what follows before what came first.
  reporting_ = true;
  for (const PadEvent& report : reports) listener_(report);
  reporting_ = false;
}

}  // namespace mk::input
