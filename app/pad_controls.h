#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

#include "input/button_holds.h"
#include "input/pad_mapping.h"
#include "input/sdl_gamepads.h"

namespace mk::app {

class TForm1;

// The game controllers as the player works them, each pad alike. Where the
// player is decides what a control does:
//   the handheld   the mapped controls press its buttons the way a bound key
//                  does (a button is held while any source holds it); Start
//                  opens the in-game menu in full screen, the popup menu at
//                  the window's centre when windowed;
//   a menu         the D-pad (or the stick) moves, A chooses, B and Start close;
//   a dialog       A is Enter, B is Esc (not on the splash, where Esc would
//                  end the program) and the D-pad gives the arrow keys.
// A control held repeats its press as a held key does, and is released
// once, where it was pressed. While none of the program's windows is the
// active one the pads do nothing, and what they held on the handheld is let
// go, as with the keys.
class PadControls {
 public:
  static constexpr int kRepeatDelayMs = 500;
  static constexpr int kRepeatIntervalMs = 30;

  explicit PadControls(TForm1& window);
  PadControls(const PadControls&) = delete;
  PadControls& operator=(const PadControls&) = delete;

  // Starts SDL's controller layer; the program does so once the first
  // window has been painted, as it takes a few milliseconds.
  void start() { gamepads_.start(); }
  input::Gamepads& gamepads() { return gamepads_; }

  // Lets go of the handheld's buttons the pads hold and forgets every held control.
  void releaseAll();

 private:
  enum class Place { Nothing, Handheld, Dialog, PopupMenu, GameMenu };
  struct Held {
    input::InputSource source;
    Place place = Place::Nothing;
    QPointer<QWidget> dialog;
    qint64 downAtMs = 0;
  };

  Place placeNow(QWidget*& dialog);
  void padEvent(const input::PadEvent& event);
  void down(const input::PadEvent& event);
  void up(const input::PadEvent& event);
  void press(const Held& held, bool repeat);
  void repeatHeld();
  // A handheld button held by a pad is let go once the handheld is no
  // longer where the player is (a dialog or a menu came up).
  void leaveHandheldIfGone();
  void openMenu();

  TForm1& window_;
  QTimer repeat_;
  QElapsedTimer clock_;
  std::vector<Held> held_;
  // Last, so it goes first: no pad reports into a half-destroyed window.
  input::Gamepads gamepads_;
};

}  // namespace mk::app
