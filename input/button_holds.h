#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/buttons.h"
#include "input/pad_mapping.h"

namespace mk::input {

// Where a press of a handheld button comes from. The keys are one source
// (no two keys share a button) and the mouse another; every control of
// every pad is one of its own, so the D-pad and the stick of one pad, or
// two pads, can hold a button together.
struct InputSource {
  enum class Kind : std::uint8_t { Key, Mouse, Pad };
  Kind kind = Kind::Key;
  std::int32_t pad = 0;  // SDL's instance number of the pad
  PadControl control = PadControl::DpadLeft;

  static constexpr InputSource key() { return {Kind::Key, 0, PadControl::DpadLeft}; }
  static constexpr InputSource mouse() { return {Kind::Mouse, 0, PadControl::DpadLeft}; }
  static constexpr InputSource padControl(std::int32_t pad, PadControl control) {
    return {Kind::Pad, pad, control};
  }
  friend constexpr bool operator==(const InputSource&, const InputSource&) = default;
};

// A handheld button is held while any source holds it. Every press goes on
// to the game (a press of a held button is a repeat, as from a held key);
// the release goes on only when the last source lets go.
class ButtonHolds {
 public:
  void press(Button button, InputSource source);
  // True when `source` was the last one holding the button: the game gets
  // the release now. A source that does not hold the button changes nothing.
  bool release(Button button, InputSource source);
  bool isHeld(Button button) const { return !holders(button).empty(); }

 private:
  std::vector<InputSource>& holders(Button button) {
    return holders_.at(static_cast<std::size_t>(button) - 1);
  }
  const std::vector<InputSource>& holders(Button button) const {
    return holders_.at(static_cast<std::size_t>(button) - 1);
  }

  std::array<std::vector<InputSource>, engine::kButtons.size()> holders_{};
};

}  // namespace mk::input
