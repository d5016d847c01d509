#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "lcd/element_model.h"
#include "skin/skin_host.h"

namespace mk::skin {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// How far the skin's origin sits from the client area's top-left corner.
struct GameOffsets {
  int x = 0;
  int y = 0;
  friend bool operator==(const GameOffsets&, const GameOffsets&) = default;
};

// Windowed, the skin's coordinates are the client area's own.
constexpr GameOffsets windowedOffsets() { return {}; }

// One full-screen offset from its GameOffsetX/GameOffsetY text: a number
// other than 0 is taken as it is; "Center", 0 or anything unreadable centres
// the skin, (screen - skin) / 2 cut toward zero, negative when the screen is
// the smaller.
int fullscreenOffset(std::string_view text, int screenExtent, int skinExtent);
GameOffsets fullscreenOffsets(std::string_view textX, std::string_view textY, Size screen, Size skin);

// A skin coordinate moved by a game offset, held within int (a skin may
// write any 32-bit number).
int offsetBy(int coordinate, int offset);

// A skin may write any 32-bit number into a box, but rectangle arithmetic
// (right = left + width - 1, a union, a translation) overflows int near the
// ends of that range. Every box is clamped to this many pixels either side
// of the client area's origin before anything computes with it: no client
// area, screen or picture reaches that far, so nothing that can be seen
// changes, and sums of two such values stay well inside int.
inline constexpr int kDrawingLimit = 1 << 24;

// The box with both edges of each axis clamped to [-kDrawingLimit,
// kDrawingLimit]; a negative width or height becomes 0 (such a box shows
// nothing either way).
lcd::Box drawableBox(const lcd::Box& box);

// The rectangle the backdrop picture is drawn into: the whole client area
// when stretched, otherwise the picture's own size centred in the client
// area (reaching past it when the picture is the larger).
lcd::Box backdropPlacement(Size client, Size picture, bool stretch);

enum class LogoCorner { TopLeft = 0, TopRight = 1, BottomLeft = 2, BottomRight = 3 };

// Where LogoPosition puts a logo of the given size; nullopt for a value that
// names no corner, which leaves the logo where it was.
std::optional<Point> logoPosition(int logoPositionValue, Size client, Size logo);

// The window's top-left corner that centres it on the screen,
// (screen - window) / 2 in whole pixels.
Point centredOnScreen(Size screen, Size window);

// A screen of the desktop, in desktop coordinates (a second screen may lie
// to the left of or above the first, at negative coordinates).
struct ScreenArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The same on a screen that need not start at 0, 0.
Point centredOn(const ScreenArea& screen, Size window);

// How much of the face a dragged window keeps on some screen, at the least
// (or the whole face, where it is smaller): enough to grab it again.
inline constexpr Size kFaceKeptOnScreen{64, 32};

// The window position nearest to `wanted` at which at least
// kFaceKeptOnScreen of the face (its box in the window's own coordinates)
// lies on one of the screens; `wanted` itself when it already does, or when
// there is no screen.
Point keepFaceOnScreen(Point wanted, const lcd::Box& face, std::span<const ScreenArea> screens);

}  // namespace mk::skin
