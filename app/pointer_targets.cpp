#include "app/pointer_targets.h"

namespace mk::app {
using lcd::ElementId;

PointerTarget pointerTargetOf(ElementId element) {
  switch (element) {
    case ElementId::btn_time_top:
      return {element, PointerRole::Button, HandheldButton::Time, PointerCursor::Hand};
    case ElementId::btn_acl_top:
      return {element, PointerRole::Button, HandheldButton::Acl, PointerCursor::Hand};
    case ElementId::btn_left_top:
      return {element, PointerRole::Button, HandheldButton::Left, PointerCursor::Hand};
    case ElementId::btn_right_top:
      return {element, PointerRole::Button, HandheldButton::Right, PointerCursor::Hand};
    case ElementId::btn_alarm_top:
      return {element, PointerRole::Drag, std::nullopt, PointerCursor::Help};
    case ElementId::im_background:
    case ElementId::im_background_screen_top:
      return {element, PointerRole::Drag, std::nullopt, PointerCursor::Arrow};
    case ElementId::btn_game_menu_top:
      return {element, PointerRole::GameMenu, std::nullopt, PointerCursor::Hand};
    default:
      return {element, PointerRole::None, std::nullopt, PointerCursor::Arrow};
  }
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
