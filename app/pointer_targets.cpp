#include "app/pointer_targets.h"

namespace mk::app {
using lcd::ElementId;

PointerTarget pointerTargetOf(ElementId element) {
  for (const PointerTarget& target : kPointerTargets)
    if (target.element == element) return target;
  return {element, PointerRole::None, std::nullopt, PointerCursor::Arrow};
}

std::optional<ElementId> elementAt(const lcd::ElementModel& model, int x, int y) {
  for (std::size_t i = lcd::kElementCount; i-- > 0;) {
    const auto id = static_cast<ElementId>(i);
    const lcd::Element& e = model[id];
    if (!e.visible || e.box.width <= 0 || e.box.height <= 0) continue;
    // In 64 bits: a skin may place a box anywhere in the 32-bit range.
    const long long dx = static_cast<long long>(x) - e.box.left;
    const long long dy = static_cast<long long>(y) - e.box.top;
    if (dx >= 0 && dx < e.box.width && dy >= 0 && dy < e.box.height) {
      return id;
    }
  }
  return std::nullopt;
}

}  // namespace mk::app
