#include "ui/error_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace mk::ui {

void showErrorBox(QWidget* parent, std::string_view text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, parent);
  // The window that had the keyboard gets it back when the box goes, also
  // where no window manager would hand it back.
  QPointer<QWidget> before = QApplication::activeWindow();
  box.exec();
  if (!before) {
    // The box came before any window was active (at start): the window on screen.
    for (QWidget* window : QApplication::topLevelWidgets()) {
      const Qt::WindowType type = window->windowType();
      if (window != &box && window->isVisible() && type != Qt::Popup && type != Qt::ToolTip) before = window;
    }
  }
  if (before && before->isVisible()) before->activateWindow();
}

}  // namespace mk::ui
