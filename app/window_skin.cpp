#include "app/window_skin.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <utility>

#include "app/window_shape.h"
#include "skin/compositor.h"

namespace mk::app {

namespace {

QColor toQColor(skin::Colour c) { return QColor(c.red, c.green, c.blue); }

skin::Colour fromQColor(const QColor& c) {
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

WindowSkin::WindowSkin(QWidget& window, Canvas& canvas, lcd::ElementModel& model,
                       const ShellEnvironment& environment)
    : window_(window), canvas_(canvas), model_(model), environment_(environment) {
  canvas_.compositor().setBackground(toQColor(skin::kInitialBackground));
  canvas_.setStaleObserver([this](const QRegion& stale) { reshapeStale(stale); });
}

skin::SkinPassResult WindowSkin::load(bool fullscreen) {
  const skin::SkinPassResult result = skin::Gfx_Init_Skin(model_, *this, fullscreen);
  refreshShape();
  return result;
}

skin::ScreenArea WindowSkin::screenArea() const {
  const QScreen* screen = window_.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return {0, 0, skin::kInitialClientSize.width, skin::kInitialClientSize.height};
  const QRect g = screen->geometry();
  return {g.x(), g.y(), g.width(), g.height()};
}

skin::Size WindowSkin::screenSize() {
  const skin::ScreenArea area = screenArea();
  return {area.width, area.height};
}

skin::Size WindowSkin::clientSize() { return {window_.width(), window_.height()}; }

// The skin pass only asks for sides it has checked; the clamp keeps a window
// on screen whatever asks.
void WindowSkin::setClientHeight(int height) {
  window_.resize(window_.width(), std::clamp(height, 1, skin::kMaxClientSide));
}

void WindowSkin::setClientWidth(int width) {
  window_.resize(std::clamp(width, 1, skin::kMaxClientSide), window_.height());
}

void WindowSkin::setBackgroundColour(skin::Colour colour) {
  canvas_.compositor().setBackground(toQColor(colour));
  canvas_.invalidateAll();
}

void WindowSkin::setBackdropStretch(bool stretch) {
  canvas_.compositor().setBackdropStretch(stretch);
  canvas_.invalidateAll();
}

// The composed face decides the shape: every pixel of exactly the key colour
// is cut out, so the desktop shows through around the handheld.
void WindowSkin::refreshShape() {
  staleShape_ = QRegion();
  if (!colourKeyOn_) {
    applyShape(QRegion());
    return;
  }
  skin::FaceLook look;
  look.client = clientSize();
  look.background = fromQColor(canvas_.compositor().background());
  look.backdropStretch = canvas_.compositor().backdropStretch();
  applyShape(opaqueRegion(skin::composeFace(model_, look), toQColor(keyColour_)));
}

// Segments change inside the face almost always; the shape is only redone
// where something changed, and only set when it differs.
void WindowSkin::reshapeStale(const QRegion& stale) {
  if (!colourKeyOn_) return;
  staleShape_ += stale;
  if (shapeQueued_) return;
  shapeQueued_ = true;
  QMetaObject::invokeMethod(&window_, [this] { reshapeNow(); }, Qt::QueuedConnection);
}

void WindowSkin::reshapeNow() {
  shapeQueued_ = false;
  const QRegion area = std::exchange(staleShape_, QRegion()).intersected(window_.rect());
  if (!colourKeyOn_ || area.isEmpty()) return;
  const QRect bounds = area.boundingRect();
  QImage part(bounds.size(), QImage::Format_ARGB32_Premultiplied);
  part.fill(toQColor(keyColour_));
  {
    QPainter painter(&part);
    painter.translate(-bounds.topLeft());
    canvas_.compositor().paint(painter, model_, area);
  }
  const QRegion opaque = opaqueRegion(part, toQColor(keyColour_), bounds.topLeft()).intersected(area);
  applyShape(shape_.subtracted(area).united(opaque));
}

void WindowSkin::applyShape(const QRegion& shape) {
  if (shape == shape_ && !(shape.isEmpty() && !window_.mask().isEmpty())) return;
  shape_ = shape;
  if (shape_.isEmpty()) {
    window_.clearMask();
  } else {
    window_.setMask(shape_);
  }
}

}  // namespace mk::app
