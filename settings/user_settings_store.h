#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace mk::settings {

// The per-user settings of the program: HKCU\Software\Tamarisk\MarshKpr50 in
// the registry on Windows; on Linux the INI file
// $XDG_CONFIG_HOME/Tamarisk/MarshKpr50.conf (~/.config by default). Every
// value is written as the text of its decimal number and reaches the disk
// before the write returns.
//
// On Linux a write replaces the file with complete new contents or leaves it
// as it was, whatever fails (a full disk, a read-only folder, a kill at any
// moment): see replaceFile. Writes take the file's lock (the one QSettings
// uses, so older copies of the program keep out of the way) and merge with
// what another running copy wrote meanwhile. At opening, a lock left empty by
// a killed copy is taken over after a second, temporary files left by a
// killed write are removed, and a file far larger than any the program
// writes is put aside rather than read.
//
// A value that cannot be saved is kept in memory for the run, so the game
// goes on with it; writable() turns false, and the notice reporter is told
// once, with the file and the reason.
class UserSettingsStore : public SettingsStore {
 public:
  static constexpr const char* kOrganisation = "Tamarisk";
  static constexpr const char* kApplication = "MarshKpr50";

  UserSettingsStore();
  // The store in the file at `path` (Linux); for tests.
  explicit UserSettingsStore(const QString& path);
  ~UserSettingsStore() override;

  int readInt(std::string_view name, int defaultValue) override;
  void writeInt(std::string_view name, int value) override;
  void writeInts(std::span<const Entry> entries) override;
  void setNoticeReporter(std::function<void(std::string_view)> reporter) override;

  // False while the values written last could not be stored.
  bool writable() const { return writable_; }
  // Where the values live (the file's path on Linux).
  QString location() const;

 private:
  struct Backend;

  void notice(std::string text);
  void saveFailed(const std::string& reason);

  std::unique_ptr<Backend> backend_;
  // What this run holds: the values read at opening and every value
  // written since, saved or not.
  std::map<std::string, std::string, std::less<>> values_;
  bool writable_ = true;
  bool toldUnsaveable_ = false;
  std::function<void(std::string_view)> reporter_;
  std::vector<std::string> pendingNotices_;
};

}  // namespace mk::settings
