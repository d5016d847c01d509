#include "settings/settings_store.h"

#include <charconv>

namespace mk::settings {

bool parseStoredInt(std::string_view text, int& value) {
  if (text.empty()) return false;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+') {  // from_chars refuses a plus sign; a stored "+5" is still 5
    ++first;
    if (first == last || *first == '-') return false;
  }
  int parsed = 0;
  auto [end, ec] = std::from_chars(first, last, parsed, 10);
  if (ec != std::errc{} || end != last) return false;
  value = parsed;
  return true;
}

int MemorySettingsStore::readInt(std::string_view name, int defaultValue) {
  auto it = values_.find(name);
  if (it == values_.end()) return defaultValue;
  int value = defaultValue;
  return parseStoredInt(it->second, value) ? value : defaultValue;
}

void MemorySettingsStore::writeInt(std::string_view name, int value) {
  values_[std::string(name)] = std::to_string(value);
}

}  // namespace mk::settings
