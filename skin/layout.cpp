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

lcd::Box drawableBox(const lcd::Box& box) {
  const auto axis = [](int start, int length, int& outStart, int& outLength) {
    const std::int64_t first = std::clamp<std::int64_t>(start, -kDrawingLimit, kDrawingLimit);
    const std::int64_t end = std::clamp<std::int64_t>(static_cast<std::int64_t>(start) + std::max(length, 0),
                                                      -kDrawingLimit, kDrawingLimit);
    outStart = static_cast<int>(first);
    outLength = static_cast<int>(end - first);
  };
  lcd::Box out;
  axis(box.left, box.width, out.left, out.width);
  axis(box.top, box.height, out.top, out.height);
  return out;
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

Point centredOn(const ScreenArea& screen, Size window) {
  const Point inside = centredOnScreen({screen.width, screen.height}, window);
  return {offsetBy(inside.x, screen.left), offsetBy(inside.y, screen.top)};
}

namespace {

// The window coordinates along one axis that keep `keep` pixels of the face
// [faceStart, faceStart + faceLength) on the screen [screenStart,
// screenStart + screenLength); the window origin nearest to `wanted` in that
// range, and how far it had to move.
struct AxisFit {
  std::int64_t origin;
  std::int64_t moved;
};

AxisFit fitAxis(std::int64_t wanted, std::int64_t faceStart, std::int64_t faceLength, std::int64_t screenStart,
                std::int64_t screenLength, std::int64_t keep) {
  const std::int64_t need = std::min(keep, std::max<std::int64_t>(faceLength, 1));
  const std::int64_t lowest = screenStart + need - faceLength - faceStart;
  const std::int64_t highest = screenStart + screenLength - need - faceStart;
  const std::int64_t origin = lowest > highest ? lowest : std::clamp(wanted, lowest, highest);
  return {origin, origin > wanted ? origin - wanted : wanted - origin};
}

}  // namespace

Point keepFaceOnScreen(Point wanted, const lcd::Box& face, std::span<const ScreenArea> screens) {
  std::optional<Point> best;
  std::int64_t bestMoved = 0;
  for (const ScreenArea& screen : screens) {
    if (screen.width <= 0 || screen.height <= 0) continue;
    const AxisFit x = fitAxis(wanted.x, face.left, face.width, screen.left, screen.width, kFaceKeptOnScreen.width);
    const AxisFit y = fitAxis(wanted.y, face.top, face.height, screen.top, screen.height, kFaceKeptOnScreen.height);
    const std::int64_t moved = x.moved + y.moved;
    if (!best || moved < bestMoved) {
      best = Point{clampToInt(x.origin), clampToInt(y.origin)};
      bestMoved = moved;
    }
  }
  return best.value_or(wanted);
}

}  // namespace mk::skin
