#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/buttons.h"

namespace mk::input {

using engine::Button;

// The controls of a game controller the program answers to. The face
// buttons are named by their place, as SDL names them: South is A on most
// pads (Cross on PlayStation pads), East is B. The stick is the left one,
// each of its four directions a control of its own.
enum class PadControl : std::uint8_t {
  DpadLeft,
  DpadRight,
  DpadUp,
  DpadDown,
  StickLeft,
  StickRight,
  StickUp,
  StickDown,
  LeftShoulder,
  RightShoulder,
  South,
  East,
  Back,
  Start,
};
inline constexpr std::size_t kPadControlCount = 14;

// What a control means in a menu or a dialog; Menu is Start's, also on the
// handheld.
enum class PadCommand : std::uint8_t { None, Up, Down, Left, Right, Accept, Cancel, Menu };

struct PadMapping {
  PadControl control;
  std::optional<Button> button;  // the handheld button it works
  PadCommand command;            // in the menus and dialogs
};

// The pad's one mapping, indexed by PadControl.
inline constexpr std::array<PadMapping, kPadControlCount> PadMappings{{
    {PadControl::DpadLeft, Button::Left, PadCommand::Left},
    {PadControl::DpadRight, Button::Right, PadCommand::Right},
    {PadControl::DpadUp, std::nullopt, PadCommand::Up},
    {PadControl::DpadDown, std::nullopt, PadCommand::Down},
    {PadControl::StickLeft, Button::Left, PadCommand::Left},
    {PadControl::StickRight, Button::Right, PadCommand::Right},
    {PadControl::StickUp, std::nullopt, PadCommand::Up},
    {PadControl::StickDown, std::nullopt, PadCommand::Down},
    {PadControl::LeftShoulder, Button::Left, PadCommand::None},
    {PadControl::RightShoulder, Button::Right, PadCommand::None},
    {PadControl::South, Button::Time, PadCommand::Accept},
    {PadControl::East, std::nullopt, PadCommand::Cancel},
    {PadControl::Back, Button::Acl, PadCommand::None},
    {PadControl::Start, std::nullopt, PadCommand::Menu},
}};

constexpr const PadMapping& mappingOf(PadControl control) {
  return PadMappings[static_cast<std::size_t>(control)];
}

static_assert([] {
  for (std::size_t i = 0; i < PadMappings.size(); ++i)
    if (static_cast<std::size_t>(PadMappings[i].control) != i) return false;
  return true;
}());

// One axis of a stick as two directions. A direction is pushed past half
// the travel and let go below a third of it: a stick resting off centre, as
// worn sticks do, presses nothing, and one held near the threshold does not
// flicker between pressed and released.
class StickAxis {
 public:
  enum class Direction { None, Negative, Positive };
  static constexpr int kPressAt = 16384;       // of SDL's 32767
  static constexpr int kReleaseBelow = 10923;  // a third

  // The direction held once the axis stands at `value` (-32768..32767).
  Direction update(int value);
  Direction held() const { return held_; }

 private:
  Direction held_ = Direction::None;
};

}  // namespace mk::input
