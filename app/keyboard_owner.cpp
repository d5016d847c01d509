#include "app/keyboard_owner.h"

#include <QEvent>
#include <algorithm>

#include "ui/dialog_window.h"

namespace mk::app {

void KeyboardOwner::watch(QWidget& dialog) { dialog.installEventFilter(this); }

void KeyboardOwner::forget(QWidget* dialog) {
  std::erase_if(open_, [dialog](const QPointer<QWidget>& d) { return !d || d == dialog; });
}

bool KeyboardOwner::eventFilter(QObject* watched, QEvent* event) {
  auto* dialog = qobject_cast<QWidget*>(watched);
  if (dialog && event->type() == QEvent::Show) {
    forget(dialog);
    open_.emplace_back(dialog);
  } else if (dialog && event->type() == QEvent::Hide) {
    forget(dialog);
    // Queued: the window manager, or X without one, first hands the keyboard
    // elsewhere as the dialog goes.
    QWidget* next = open_.empty() ? &mainWindow_ : open_.back().data();
    QMetaObject::invokeMethod(
        this,
        [this, next = QPointer<QWidget>(next)] {
          if (next && next->isVisible() && (next != &mainWindow_ || open_.empty())) next->activateWindow();
        },
        Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

QWidget* KeyboardOwner::dialogOnTop() const {
  for (auto it = open_.rbegin(); it != open_.rend(); ++it)
    if (*it && (*it)->isVisible()) return it->data();
  return nullptr;
}

void KeyboardOwner::mainWindowActivated() {
  forget(nullptr);
  if (open_.empty()) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (open_.empty() || !open_.back()) return;
        QWidget* top = open_.back().data();
        ui::giveTheKeyboard(*top);
      },
      Qt::QueuedConnection);
}

}  // namespace mk::app
