#include "input/pad_mapping.h"

#include <cstdlib>

namespace mk::input {

StickAxis::Direction StickAxis::update(int value) {
  const int travel = std::abs(value);
  const Direction toward = value < 0 ? Direction::Negative : Direction::Positive;
  if (held_ != Direction::None && (toward != held_ || travel < kReleaseBelow)) held_ = Direction::None;
  if (held_ == Direction::None && travel >= kPressAt) held_ = toward;
  return held_;
}

}  // namespace mk::input
