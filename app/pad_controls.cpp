#include "app/pad_controls.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

#include "app/form1.h"
#include "ui/splash_form.h"

namespace mk::app {

using input::PadCommand;

namespace {

bool isDirection(PadCommand command) {
  return command == PadCommand::Up || command == PadCommand::Down || command == PadCommand::Left ||
         command == PadCommand::Right;
}

// The key a command stands for in a dialog or the popup menu.
Qt::Key keyOf(PadCommand command) {
  switch (command) {
    case PadCommand::Up:
      return Qt::Key_Up;
    case PadCommand::Down:
      return Qt::Key_Down;
    case PadCommand::Left:
      return Qt::Key_Left;
    case PadCommand::Right:
      return Qt::Key_Right;
    case PadCommand::Accept:
      return Qt::Key_Return;
    case PadCommand::Cancel:
      return Qt::Key_Escape;
    case PadCommand::None:
    case PadCommand::Menu:
      break;
  }
  return Qt::Key_unknown;
}

// As typed on the keyboard: to the widget that has the focus, with the text
// and a time of its own, so a key filter never takes a press and a release
// for the two halves of one auto-repeat.
void sendKey(QWidget& target, QEvent::Type type, Qt::Key key, bool autoRepeat, qint64 timestampMs) {
  const QString text = key == Qt::Key_Return   ? QStringLiteral("\r")
                       : key == Qt::Key_Escape ? QStringLiteral("\x1b")
                                               : QString();
  QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
  event.setTimestamp(static_cast<quint64>(timestampMs) + 1);
  QWidget* receiver = target.focusWidget() ? target.focusWidget() : &target;
  QCoreApplication::sendEvent(receiver, &event);
}

bool programActive() { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

}  // namespace

PadControls::PadControls(TForm1& window)
    : window_(window), gamepads_([this](const input::PadEvent& event) { padEvent(event); }) {
  clock_.start();
  repeat_.setInterval(kRepeatIntervalMs);
  QObject::connect(&repeat_, &QTimer::timeout, &repeat_, [this] { repeatHeld(); });
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, &repeat_,
                   [this](Qt::ApplicationState state) {
                     if (state != Qt::ApplicationActive) releaseAll();
                   });
}

PadControls::Place PadControls::placeNow(QWidget*& dialog) {
  dialog = window_.dialogInUse();
  if (dialog) return Place::Dialog;
  if (window_.popupMenu().pm_0_menu->isVisible()) return Place::PopupMenu;
  if (window_.FullscreenMode && window_.gameMenu().GameMenuOpen) return Place::GameMenu;
  if (window_.isVisible() && window_.isEnabled()) return Place::Handheld;
  return Place::Nothing;
}

void PadControls::padEvent(const input::PadEvent& event) {
  if (event.down)
    down(event);
  else
    up(event);
}

void PadControls::down(const input::PadEvent& event) {
  if (!programActive()) return;
  leaveHandheldIfGone();
  Held held;
  held.source = input::InputSource::padControl(event.pad, event.control);
  QWidget* dialog = nullptr;
  held.place = placeNow(dialog);
  held.dialog = dialog;
  held.downAtMs = clock_.elapsed();
  const PadCommand command = input::mappingOf(event.control).command;
  if (held.place == Place::Dialog && command == PadCommand::Cancel && qobject_cast<ui::TSplashForm*>(dialog))
    return;
  if (held.place == Place::Nothing) return;
  held_.push_back(held);
  if (!repeat_.isActive()) repeat_.start();
  press(held, false);
}

void PadControls::up(const input::PadEvent& event) {
  const input::InputSource source = input::InputSource::padControl(event.pad, event.control);
  const auto it = std::find_if(held_.begin(), held_.end(), [&](const Held& h) { return h.source == source; });
  if (it == held_.end()) return;
  const Held held = *it;
  held_.erase(it);
  if (held_.empty()) repeat_.stop();
  const input::PadMapping& mapping = input::mappingOf(event.control);
  if (held.place == Place::Handheld && mapping.button) {
    window_.controls().release(*mapping.button, source);
  } else if (held.place == Place::Dialog && held.dialog && held.dialog->isVisible()) {
    if (const Qt::Key key = keyOf(mapping.command); key != Qt::Key_unknown)
      sendKey(*held.dialog, QEvent::KeyRelease, key, false, clock_.elapsed());
  }
}

void PadControls::press(const Held& held, bool repeat) {
  const input::PadMapping& mapping = input::mappingOf(held.source.control);
  const PadCommand command = mapping.command;
  // Choosing and closing happen once per press; moving repeats.
  if (repeat && !isDirection(command) && held.place != Place::Handheld) return;
  switch (held.place) {
    case Place::Handheld:
      if (mapping.button)
        window_.controls().press(*mapping.button, held.source);
      else if (command == PadCommand::Menu && !repeat)
        openMenu();
      break;
    case Place::Dialog:
      if (!held.dialog || !held.dialog->isVisible()) break;
      if (const Qt::Key key = keyOf(command); key != Qt::Key_unknown)
        sendKey(*held.dialog, QEvent::KeyPress, key, repeat, clock_.elapsed());
      break;
    case Place::PopupMenu: {
      QMenu& menu = *window_.popupMenu().pm_0_menu;
      if (!menu.isVisible()) break;
      if (command == PadCommand::Menu) {
        menu.hide();
      } else if (command == PadCommand::Up || command == PadCommand::Down || command == PadCommand::Accept ||
                 command == PadCommand::Cancel) {
        sendKey(menu, QEvent::KeyPress, keyOf(command), repeat, clock_.elapsed());
      }
      break;
    }
    case Place::GameMenu: {
      ui::GameMenu& menu = window_.gameMenu();
      if (!menu.GameMenuOpen) break;
      if (command == PadCommand::Up) menu.moveSelection(-1);
      if (command == PadCommand::Down) menu.moveSelection(+1);
      if (command == PadCommand::Accept) menu.runSelection();
      if (command == PadCommand::Cancel || command == PadCommand::Menu) menu.close();
      break;
    }
    case Place::Nothing:
      break;
  }
}

void PadControls::repeatHeld() {
  leaveHandheldIfGone();
  const qint64 now = clock_.elapsed();
  std::vector<Held> due;
  for (const Held& held : held_)
    if (held.place != Place::Nothing && now - held.downAtMs >= kRepeatDelayMs) due.push_back(held);
  for (const Held& held : due) press(held, true);
}

void PadControls::leaveHandheldIfGone() {
  QWidget* dialog = nullptr;
  if (placeNow(dialog) == Place::Handheld) return;
  std::vector<input::InputSource> gone;
  for (Held& held : held_) {
    if (held.place != Place::Handheld) continue;
    held.place = Place::Nothing;
    gone.push_back(held.source);
  }
  for (const input::InputSource& source : gone)
    if (const auto button = input::mappingOf(source.control).button)
      window_.controls().release(*button, source);
}

void PadControls::releaseAll() {
  std::vector<Held> held;
  held.swap(held_);
  repeat_.stop();
  for (const Held& h : held)
    if (const auto button = input::mappingOf(h.source.control).button; button && h.place == Place::Handheld)
      window_.controls().release(*button, h.source);
}

void PadControls::openMenu() {
  if (window_.FullscreenMode) {
    window_.gameMenu().openAtFirstRow();
    return;
  }
  // Where a right click at the middle of the handheld would open it.
  ui::PopupMenu& popup = window_.popupMenu();
  popup.pm_0_menu->popup(window_.mapToGlobal(QPoint(window_.width() / 2, window_.height() / 2)));
  popup.pm_0_menu->setActiveAction(popup.item(1));
}

}  // namespace mk::app
