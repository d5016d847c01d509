#pragma once

#include <SDL.h>

#include <cstdint>

namespace mk::testing {

// A game controller that exists only inside this process: SDL's virtual
// joystick, described as a controller, so that SDL maps its buttons and
// axes one to one onto the controller's. SDL's joystick subsystem must be
// running (the program's Gamepads start it). What is set here reaches the
// program at its next pump.
class VirtualPad {
 public:
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "virtual test pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) joystick_ = SDL_JoystickOpen(index);
    if (joystick_) instance_ = SDL_JoystickInstanceID(joystick_);
  }
  ~VirtualPad() { unplug(); }
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  bool plugged() const { return joystick_ != nullptr; }
  std::int32_t instance() const { return instance_; }

  void press(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(joystick_, button, SDL_PRESSED);
  }
  void release(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(joystick_, button, SDL_RELEASED);
  }
  // `value` in -32768..32767; -32768 is left or up.
  void axis(SDL_GameControllerAxis axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, static_cast<Sint16>(value));
  }

  void unplug() {
    if (!joystick_) return;
    SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickIsVirtual(i) && SDL_JoystickGetDeviceInstanceID(i) == instance_)
        SDL_JoystickDetachVirtual(i);
  }

 private:
  SDL_Joystick* joystick_ = nullptr;
  std::int32_t instance_ = -1;
};

// Travel of a stick axis as a share of its range: travel(0.2) is 20 %.
constexpr int travel(double share) { return static_cast<int>(share * 32767); }

}  // namespace mk::testing
