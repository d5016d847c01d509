#pragma once

#include <string_view>

class QWidget;

namespace mk::ui {

// A modal message box titled "Error" with the error icon and one OK button.
void showErrorBox(QWidget* parent, std::string_view text);

}  // namespace mk::ui
