#include "app/controls.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>
#include <vector>

#include "skin/layout.h"

namespace mk::app {
using lcd::ElementId;

namespace {

Qt::CursorShape shapeOf(PointerCursor cursor) {
  switch (cursor) {
    case PointerCursor::Hand:
      return Qt::PointingHandCursor;
    case PointerCursor::Help:
      return Qt::WhatsThisCursor;
    case PointerCursor::Arrow:
      break;
  }
  return Qt::ArrowCursor;
}

// The picture each hover text belongs to.
constexpr std::array<std::pair<ElementId, std::string input::ButtonHints::*>, 5> kHintedPictures{{
    {ElementId::btn_time_top, &input::ButtonHints::time},
    {ElementId::btn_acl_top, &input::ButtonHints::acl},
    {ElementId::btn_alarm_top, &input::ButtonHints::alarm},
    {ElementId::btn_left_top, &input::ButtonHints::left},
    {ElementId::btn_right_top, &input::ButtonHints::right},
}};

}  // namespace

HandheldControls::HandheldControls(QWidget& window, const lcd::ElementModel& model, Handheld& handheld,
                                   ui::PopupMenu& popup, ui::GameMenu& gameMenu, std::function<bool()> windowed,
                                   std::function<QRegion()> shape)
    : window_(window),
      model_(model),
      handheld_(handheld),
      popup_(popup),
      gameMenu_(gameMenu),
      windowed_(std::move(windowed)),
      shape_(std::move(shape)) {}

// ---- the one way in ----------------------------------------------------------

void HandheldControls::press(engine::Button button, input::InputSource source) {
  holds_.press(button, source);
  handheld_.press(button);
}

void HandheldControls::release(engine::Button button, input::InputSource source) {
  if (holds_.release(button, source)) handheld_.release(button);
}

// ---- keys --------------------------------------------------------------------

void HandheldControls::FormKeyDown(std::uint16_t keyCode) {
  if (const auto button = handheld_.bindings().buttonForKey(keyCode))
    press(*button, input::InputSource::key());
}

void HandheldControls::FormKeyUp(std::uint16_t keyCode) {
  if (const auto button = handheld_.bindings().buttonForKey(keyCode))
    release(*button, input::InputSource::key());
}

void HandheldControls::keyEvent(const QKeyEvent& event) {
  const input::KeyRepeatFilter::Result r = keyFilter_.filter(event);
  switch (r.pass) {
    case input::KeyRepeatFilter::Pass::Press:
      // The menu's shortcuts come before the handheld's keys.
      if (popup_.runShortcut(r.code)) return;
      FormKeyDown(r.code);
      return;
    case input::KeyRepeatFilter::Pass::RepeatPress:
      // A held F12 must not flip the presentation over and over.
      if (ui::menuItemForShortcut(r.code) != 0) return;
      FormKeyDown(r.code);
      return;
    case input::KeyRepeatFilter::Pass::Release:
      FormKeyUp(r.code);
      return;
    case input::KeyRepeatFilter::Pass::Nothing:
      return;
  }
}

void HandheldControls::releaseHeldKeys() {
  for (const std::uint16_t code : keyFilter_.releaseAll()) FormKeyUp(code);
}

// ---- mouse -------------------------------------------------------------------

void HandheldControls::mousePress(QPoint client, QPoint global, Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;  // the popup menu takes the right button
  if (pressed_) return;
  const std::optional<ElementId> element = elementAt(model_, client.x(), client.y());
  if (!element) return;
  pressed_ = pointerTargetOf(*element);
  switch (pressed_->role) {
    case PointerRole::Button:
      press(*pressed_->button, input::InputSource::mouse());
      break;
    case PointerRole::Drag: {
      if (!windowed_()) break;  // the full-screen window never moves
      const lcd::Box box = skin::drawableBox(model_[*element].box);
      DragOrigin = QPoint(client.x() - box.left, client.y() - box.top);
      dragPressGlobal_ = global;
      dragWindowOrigin_ = window_.pos();
      break;
    }
    case PointerRole::GameMenu:
    case PointerRole::None:
      break;
  }
}

void HandheldControls::mouseMove(QPoint client, QPoint global, Qt::MouseButtons buttons) {
  if (!pressed_) {
    if (buttons == Qt::NoButton) updateCursor(client);
    return;
  }
  if (pressed_->role == PointerRole::Drag && windowed_() && (buttons & Qt::LeftButton)) {
    // From the global pointer: local positions of queued events still refer
    // to where the window was before the last move.
    window_.move(keptOnScreen(dragWindowOrigin_ + (global - dragPressGlobal_)));
  }
}

void HandheldControls::mouseRelease(QPoint client, Qt::MouseButton button) {
  if (button != Qt::LeftButton || !pressed_) return;
  const PointerTarget target = *pressed_;
  pressed_.reset();
  if (target.role == PointerRole::Button) release(*target.button, input::InputSource::mouse());
  // A click: pressed and released on the menu symbol.
  if (target.role == PointerRole::GameMenu && elementAt(model_, client.x(), client.y()) == target.element) {
    gameMenu_.btn_game_menu_topClick();
  }
  updateCursor(client);
}

namespace {

std::vector<skin::ScreenArea> desktopScreens() {
  std::vector<skin::ScreenArea> screens;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    screens.push_back({area.x(), area.y(), area.width(), area.height()});
  }
  return screens;
}

long long pixelCount(const QRegion& region) {
  long long count = 0;
  for (const QRect& r : region) count += 1LL * r.width() * r.height();
  return count;
}

// One step from the window's position toward the screen, along each axis
// on which the face reaches past the screen's edge.
QPoint towardScreen(QPoint at, const QRect& face, const QRect& screen) {
  const QRect placed = face.translated(at);
  const int dx = placed.left() < screen.left() ? 1 : placed.right() > screen.right() ? -1 : 0;
  const int dy = placed.top() < screen.top() ? 1 : placed.bottom() > screen.bottom() ? -1 : 0;
  return {dx, dy};
}

}  // namespace

// A handheld dragged almost off the desktop keeps enough of its face on a
// screen to be grabbed again: 64 x 32 pixels of its box, and then as many
// of its opaque pixels, moving on toward the screen where a rounded corner
// of the face is see-through.
QPoint HandheldControls::keptOnScreen(QPoint wanted) const {
  // What can be grabbed is the part of the face inside the window; a face
  // placed wholly outside it (a skin may write any box) leaves the window.
  const lcd::Box placed = skin::drawableBox(model_[ElementId::im_background].box);
  QRect face = QRect(placed.left, placed.top, placed.width, placed.height).intersected(window_.rect());
  if (face.isEmpty()) face = window_.rect();
  const lcd::Box box{face.x(), face.y(), face.width(), face.height()};
  const skin::Point kept = skin::keepFaceOnScreen({wanted.x(), wanted.y()}, box, desktopScreens());
  QPoint at(kept.x, kept.y);
  const QRegion opaque = shape_ ? shape_() : QRegion();
  if (at == wanted || opaque.isEmpty()) return at;

  const QScreen* screen = QGuiApplication::screenAt(at + face.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  const QRect area = screen->availableGeometry();
  const QRegion faceOpaque = opaque.intersected(face);
  const auto onScreen = [&](QPoint origin) { return pixelCount(faceOpaque.intersected(area.translated(-origin))); };
  const long long enough = std::min<long long>(
      1LL * skin::kFaceKeptOnScreen.width * skin::kFaceKeptOnScreen.height, pixelCount(faceOpaque));
  for (int step = 0; step < 64 && onScreen(at) < enough; ++step) {
    const QPoint move = towardScreen(at, face, area);
    if (move.isNull()) break;
    at += move;
  }
  return at;
}

PointerCursor HandheldControls::cursorAt(QPoint client) const {
  const std::optional<ElementId> element = elementAt(model_, client.x(), client.y());
  return element ? pointerTargetOf(*element).cursor : PointerCursor::Arrow;
}

void HandheldControls::updateCursor(QPoint client) {
  const PointerCursor cursor = cursorAt(client);
  if (cursor == cursor_) return;
  cursor_ = cursor;
  window_.setCursor(shapeOf(cursor));
}

// ---- hints -------------------------------------------------------------------

void HandheldControls::rebuildHints() {
  const input::ButtonHints hints = input::buildHints(handheld_.bindings());
  for (std::size_t i = 0; i < kHintedPictures.size(); ++i)
    hints_[i] = {kHintedPictures[i].first, QString::fromStdString(hints.*kHintedPictures[i].second)};
}

QString HandheldControls::hintOf(ElementId element) const {
  for (const auto& [picture, hint] : hints_)
    if (picture == element) return hint;
  return {};
}

}  // namespace mk::app
