#pragma once

#include <array>
#include <optional>

#include "engine/buttons.h"
#include "lcd/element_model.h"

namespace mk::app {

// What a picture of the main window does with the mouse.
enum class PointerRole {
  None,      // segments, pressed pictures, backdrop: they take the press and do nothing
  Button,    // one of the four working buttons
  Drag,      // the face, the ALARM button and the screen overlay move the window
  GameMenu,  // the in-game menu symbol (full screen)
};

enum class PointerCursor { Arrow, Hand, Help };

struct PointerTarget {
  lcd::ElementId element;
  PointerRole role;
  std::optional<engine::Button> button;  // set when role is Button
  PointerCursor cursor;
};

// Every element with a mouse behaviour of its own; any other element takes
// the mouse with role None and the arrow cursor.
inline constexpr std::array<PointerTarget, 8> kPointerTargets{{
    {lcd::ElementId::btn_time_top, PointerRole::Button, engine::Button::Time, PointerCursor::Hand},
    {lcd::ElementId::btn_acl_top, PointerRole::Button, engine::Button::Acl, PointerCursor::Hand},
    {lcd::ElementId::btn_left_top, PointerRole::Button, engine::Button::Left, PointerCursor::Hand},
    {lcd::ElementId::btn_right_top, PointerRole::Button, engine::Button::Right, PointerCursor::Hand},
    {lcd::ElementId::btn_alarm_top, PointerRole::Drag, std::nullopt, PointerCursor::Help},
    {lcd::ElementId::im_background, PointerRole::Drag, std::nullopt, PointerCursor::Arrow},
    {lcd::ElementId::im_background_screen_top, PointerRole::Drag, std::nullopt, PointerCursor::Arrow},
    {lcd::ElementId::btn_game_menu_top, PointerRole::GameMenu, std::nullopt, PointerCursor::Hand},
}};

PointerTarget pointerTargetOf(lcd::ElementId element);

// The topmost shown element whose box holds the client point, as the
// window's picture controls take the mouse: a shown element covers its whole
// box, picture or not, and hidden elements take nothing.
std::optional<lcd::ElementId> elementAt(const lcd::ElementModel& model, int x, int y);

}  // namespace mk::app
