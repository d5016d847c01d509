#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mk::settings {

// The settings file as text: an INI file whose [General] section (or the
// lines before any section) holds one "Name=value" line per setting, as the
// program has always written it. Setting a value changes or adds its line
// and keeps every other line as it was, comments and other sections too.
class SettingsText {
 public:
  static SettingsText parse(std::string_view text);

  // A value's text: blanks around it removed, and one pair of double quotes.
  // Only the first line of a name counts.
  std::optional<std::string> value(std::string_view name) const;
  void set(std::string_view name, std::string_view value);

  std::string text() const;
  const std::map<std::string, std::string, std::less<>>& values() const { return values_; }

 private:
  std::vector<std::string> lines_;
  std::map<std::string, std::string, std::less<>> values_;
  std::map<std::string, std::size_t, std::less<>> lineOf_;  // the line holding each name
  std::optional<std::size_t> generalEnd_;                   // after the general section's last line
};

// Files larger than this were never written by the program; reading one
// would take seconds.
inline constexpr std::size_t kMaxSettingsFileBytes = 1u << 20;

// Replaces the file at `path` with `contents`, or leaves it exactly as it
// was: the contents go to a temporary file beside it (named `path` + "."
// + six letters or digits), every write is checked, the file is synced and
// read back, and only a complete, identical file is renamed over the old
// one. Returns why it could not, or nothing when it did.
std::optional<std::string> replaceFile(const std::string& path, std::string_view contents);

// Whether a file name is one of those temporary files of `base` (a write
// killed before its rename leaves one behind).
bool isTemporaryOf(std::string_view name, std::string_view base);

}  // namespace mk::settings
