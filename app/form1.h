#pragma once

#include <QWidget>

#include <functional>

class QKeyEvent;

#include "app/canvas.h"
#include "app/controls.h"
#include "app/handheld.h"
#include "app/menu_commands.h"
#include "app/pad_controls.h"
#include "app/shell_environment.h"
#include "app/window_skin.h"
#include "lcd/element_model.h"
#include "ui/menus.h"

namespace mk::app {

// The main window: the handheld's face on one canvas, in the see-through
// window or full screen. It owns the handheld behind the face and the parts
// that serve it, and turns its window events over to them: the controls
// (mouse and keys), the skin (layout and shape), the menus and their
// commands. The rules of the game live in the engine.
class TForm1 final : public QWidget {
  Q_OBJECT
 public:
  explicit TForm1(ShellEnvironment environment);
  ~TForm1() override;

  // The creation handler: run once by the program, right after construction
  // and before the other windows exist.
  void FormCreate();
  // Each time the window becomes the active one.
  void FormActivate();
  // The window manager's close: the sound goes, the timers stop.
  void FormClose();

  void setDialogs(const Dialogs& dialogs) {
    dialogs_ = dialogs;
    commands_.setDialogs(dialogs);
  }
  // The dialog open over the window, if any: keys that reach the window go
  // to it instead, so Esc closes it rather than ending the program.
  void setDialogOnTop(std::function<QWidget*()> dialogOnTop) { dialogOnTop_ = std::move(dialogOnTop); }
  // Where the game controllers' A, B and D-pad go instead of the handheld:
  // the splash while it is on screen, otherwise the dialog open over the
  // window; null when there is none.
  QWidget* dialogInUse() const;

  bool FullscreenMode = true;
  // Inverts the presentation, stores it and lays the window out afresh; the
  // window is off the screen meanwhile and comes back in one step.
  void switchPresentation();
  // (screen − window) / 2 on the window's screen; with clampToScreen never
  // above or left of the screen's edge.
  void centreOnScreen(bool clampToScreen);
  // Shows the window where it is and gives it the keyboard as soon as it is
  // on screen (also without a window manager, where nobody else would).
  void showActivated();

  const ShellEnvironment& environment() const { return env_; }
  lcd::ElementModel& model() { return model_; }
  Canvas& canvas() { return canvas_; }
  Handheld& handheld() { return handheld_; }
  HandheldControls& controls() { return controls_; }
  PadControls& pads() { return pads_; }
  WindowSkin& skin() { return skin_; }
  ui::PopupMenu& popupMenu() { return popup_; }
  ui::GameMenu& gameMenu() { return gameMenu_; }
  ShellCommands& commands() { return commands_; }

 signals:
  void activated();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void passKeyTo(QWidget& dialog, const QKeyEvent& key);
  // The in-game menu's picture, decoded once the full screen first needs it.
  void takeGameMenuArt();

  ShellEnvironment env_;
  lcd::ElementModel model_;
  // Declared after the model it watches, so it goes first.
  Canvas canvas_;
  WindowSkin skin_;
  Handheld handheld_;
  ShellCommands commands_;
  ui::PopupMenu popup_;
  ui::GameMenu gameMenu_;
  HandheldControls controls_;
  std::function<QWidget*()> dialogOnTop_;
  Dialogs dialogs_;
  // After everything it works.
  PadControls pads_{*this};
};

}  // namespace mk::app
