#pragma once

#include <QSettings>
#include <QString>

#include "settings/settings_store.h"

namespace mk::settings {

// The per-user settings of the program in the platform's native store:
// HKCU\Software\Tamarisk\MarshKpr50 on Windows, an INI file
// $XDG_CONFIG_HOME/Tamarisk/MarshKpr50.conf (~/.config by default) on Linux.
// Every value is written as the text of its decimal number and reaches the
// disk before writeInt returns.
//
// A store that cannot be written (read-only file or folder, full disk) never
// throws and never damages what is already on disk: the failed write is kept
// in memory for this run, so the game goes on with the value it chose, and
// writable() turns false so the caller may tell the user once.
class QtSettingsStore : public SettingsStore {
 public:
  static constexpr const char* kOrganisation = "Tamarisk";
  static constexpr const char* kApplication = "MarshKpr50";

  QtSettingsStore();

  int readInt(std::string_view name, int defaultValue) override;
  void writeInt(std::string_view name, int value) override;

  // False once a write could not be stored on disk.
  bool writable() const { return writable_; }
  // Where the values live (the INI file's path on Linux).
  QString location() const { return settings_.fileName(); }

 private:
  QSettings settings_;
  bool writable_ = true;
};

}  // namespace mk::settings
