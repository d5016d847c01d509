#include "ui/error_box.h"

#include <QMessageBox>

namespace mk::ui {

void showErrorBox(QWidget* parent, std::string_view text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace mk::ui
