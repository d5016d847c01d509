#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace mk::app {

// Who has the keyboard: the dialog on top of the main window while one is
// open (the about dialog, the manual, the key dialog), otherwise the main
// window. A click on the game under a window manager makes the main window
// active; the keyboard then goes straight back to the dialog above it, so
// Esc closes that dialog instead of ending the program. When the last
// dialog closes, the main window takes the keyboard again, also where no
// window manager would give it.
class KeyboardOwner final : public QObject {
 public:
  explicit KeyboardOwner(QWidget& mainWindow) : mainWindow_(mainWindow) {}

  void watch(QWidget& dialog);
  // The main window became the active window.
  void mainWindowActivated();

  // The dialog shown last of those still open, or null.
  QWidget* dialogOnTop() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void forget(QWidget* dialog);

  QWidget& mainWindow_;
  std::vector<QPointer<QWidget>> open_;
};

}  // namespace mk::app
