#pragma once

#include <QString>

#include <string_view>

namespace mk::ui {

// The program's name: the main window's title (its taskbar entry) and the
// splash dialog's heading.
inline constexpr std::string_view kApplicationTitle = "Marsh Keeper (Vexora, Slimline) Simulator";
inline constexpr std::string_view kVersionText = "Version 5.00 * Final *";

inline QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace mk::ui
