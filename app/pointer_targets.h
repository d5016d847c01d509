#pragma once

#include <array>
#include <optional>

#include "lcd/element_model.h"

namespace mk::app {

// What a picture of the main window does with the mouse.
enum class PointerRole {
  None,      // segments, pressed pictures, backdrop: they take the press and do nothing
  Button,    // one of the four working buttons
  Drag,      // the face, the ALARM button and the screen overlay move the window
  GameMenu,  // the in-game menu symbol (full screen)
};

enum class HandheldButton { Time, Acl, Left, Right };

enum class PointerCursor { Arrow, Hand, Help };

struct PointerTarget {
  lcd::ElementId element;
  PointerRole role;
  std::optional<HandheldButton> button;  // set when role is Button
  PointerCursor cursor;
};

// The mouse behaviour of every element that has one; any other element
// takes the mouse with role None and the arrow cursor.
PointerTarget pointerTargetOf(lcd::ElementId element);

// The topmost shown element whose box holds the client point, as the
// window's picture controls take the mouse: a shown element covers its whole
// box, picture or not, and hidden elements take nothing.
std::optional<lcd::ElementId> elementAt(const lcd::ElementModel& model, int x, int y);

// The clickable picture of each button, in binding order (TIME, ACL, LEFT, RIGHT).
inline constexpr std::array<lcd::ElementId, 4> kButtonPictures{
    lcd::ElementId::btn_time_top, lcd::ElementId::btn_acl_top, lcd::ElementId::btn_left_top,
    lcd::ElementId::btn_right_top};

}  // namespace mk::app
