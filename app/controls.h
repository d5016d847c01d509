#pragma once

#include <QPoint>
#include <QRegion>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "app/handheld.h"
#include "app/pointer_targets.h"
#include "engine/buttons.h"
#include "input/button_holds.h"
#include "input/qt_keys.h"
#include "lcd/element_model.h"
#include "ui/menus.h"

class QKeyEvent;

namespace mk::app {

// The handheld's buttons as the player works them: the left mouse button on
// the button pictures, the bound keys and the game controllers, every press
// and release taking the one way to the engine (press / release of its
// Button), a button held while any of them holds it; the menu's shortcut
// keys before the bindings; dragging the windowed handheld by its face; the
// cursors and hover hints over the pictures.
class HandheldControls {
 public:
  // windowed: whether the window may be dragged (not in full screen);
  // shape: the window's opaque part, which a drag keeps enough of on screen.
  HandheldControls(QWidget& window, const lcd::ElementModel& model, Handheld& handheld, ui::PopupMenu& popup,
                   ui::GameMenu& gameMenu, std::function<bool()> windowed, std::function<QRegion()> shape);

  // Key events of the window and its children, seen before they are.
  void keyEvent(const QKeyEvent& event);
  // Keys in the program's key numbering, after the auto-repeat filter.
  void FormKeyDown(std::uint16_t keyCode);
  void FormKeyUp(std::uint16_t keyCode);
  // A key held while the window loses the keyboard would otherwise stay down
  // for good: its release goes to another window.
  void releaseHeldKeys();

  // A press from any source goes on to the engine; a release only when no
  // other source (key, mouse, pad control) still holds the button.
  void press(engine::Button button, input::InputSource source);
  void release(engine::Button button, input::InputSource source);

  void mousePress(QPoint client, QPoint global, Qt::MouseButton button);
  void mouseMove(QPoint client, QPoint global, Qt::MouseButtons buttons);
  void mouseRelease(QPoint client, Qt::MouseButton button);

  // The cursor the window shows at a client point.
  PointerCursor cursorAt(QPoint client) const;

  // Re-reads nothing: the five hints from the current bindings.
  void rebuildHints();
  // The hint of a button picture; empty for every other element.
  QString hintOf(lcd::ElementId element) const;

  // Pointer position at the last drag press, in the pressed element's coordinates.
  QPoint DragOrigin;

 private:
  void updateCursor(QPoint client);
  QPoint keptOnScreen(QPoint wanted) const;

  QWidget& window_;
  const lcd::ElementModel& model_;
  Handheld& handheld_;
  ui::PopupMenu& popup_;
  ui::GameMenu& gameMenu_;
  std::function<bool()> windowed_;
  std::function<QRegion()> shape_;

  // On X11 a release is held back for a moment to tell auto-repeat from a
  // real release; it then arrives here from the event loop.
  input::KeyRepeatFilter keyFilter_{[this](std::uint16_t code) { FormKeyUp(code); }};

  // The picture a left press began on: it gets the release and the moves.
  std::optional<PointerTarget> pressed_;
  QPoint dragPressGlobal_;
  QPoint dragWindowOrigin_;
  PointerCursor cursor_ = PointerCursor::Arrow;

  std::array<std::pair<lcd::ElementId, QString>, 5> hints_{};
  input::ButtonHolds holds_;
};

}  // namespace mk::app
