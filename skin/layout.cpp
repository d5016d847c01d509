#include "skin/layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace mk::skin {

namespace {

int clampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Halves a difference the way the handheld's layout always has: toward zero.
int halfDifference(int a, int b) {
  return clampToInt((static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b)) / 2);
}

}  // namespace

int fullscreenOffset(std::string_view text, int screenExtent, int skinExtent) {
  const std::optional<int> explicitOffset = parseConfigInteger(text);
  if (explicitOffset && *explicitOffset != 0) return *explicitOffset;
  return halfDifference(screenExtent, skinExtent);
}

GameOffsets fullscreenOffsets(std::string_view textX, std::string_view textY, Size screen, Size skin) {
  return {fullscreenOffset(textX, screen.width, skin.width),
          fullscreenOffset(textY, screen.height, skin.height)};
}

int offsetBy(int coordinate, int offset) {
  return clampToInt(static_cast<std::int64_t>(coordinate) + offset);
}

lcd::Box backdropPlacement(Size client, Size picture, bool stretch) {
  if (stretch) return {0, 0, client.width, client.height};
  return {halfDifference(client.width, picture.width), halfDifference(client.height, picture.height),
          picture.width, picture.height};
}

std::optional<Point> logoPosition(int logoPositionValue, Size client, Size logo) {
  const int right = clampToInt(static_cast<std::int64_t>(client.width) - logo.width);
  const int bottom = clampToInt(static_cast<std::int64_t>(client.height) - logo.height);
  switch (logoPositionValue) {
    case static_cast<int>(LogoCorner::TopLeft): return Point{0, 0};
    case static_cast<int>(LogoCorner::TopRight): return Point{right, 0};
    case static_cast<int>(LogoCorner::BottomLeft): return Point{0, bottom};
    case static_cast<int>(LogoCorner::BottomRight): return Point{right, bottom};
    default: return std::nullopt;
  }
}

Point centredOnScreen(Size screen, Size window) {
  return {halfDifference(screen.width, window.width), halfDifference(screen.height, window.height)};
}

Point outOfSight(Size screen) { return {-screen.width, -screen.height}; }

}  // namespace mk::skin
