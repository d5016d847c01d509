// The settings file's text, as a player may have edited it, read and given
// new values the way the store gives them: a setting's number, or (after
// writes that could not be saved) a value read from the file itself, set
// again as it was read. The input's last bytes say which values are set;
// the bytes before them are the file.
//
// What must hold: text() of a file nobody changed reads as the same lines
// (and is the file itself when it has LF line ends); every value set reads
// back, from the object and from its text read again, and no other value
// changes; and every line that held no value that was set is still there,
// in order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/persistent_settings.h"
#include "settings/settings_file.h"

#include "require.h"

using mk::settings::SettingsText;

namespace {

using Values = std::map<std::string, std::string, std::less<>>;

// Views into `text`, as the reader splits it.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
  }
  return lines;
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// The name a "name=value" line gives (which may be empty), or nothing for any
// other line.
std::optional<std::string_view> nameOnLine(std::string_view line) {
  line = trimmed(line);
  if (line.empty() || line.front() == '[' || line.front() == ';' || line.front() == '#') return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return trimmed(line.substr(0, equals));
}

// `after` must be `before` with some lines replaced by, and some lines
// added as, lines of the names set, and perhaps a general section header
// put in front.
void requireOtherLinesKept(const std::vector<std::string_view>& before, const std::vector<std::string_view>& after,
                           const Values& set, const Values& hadBefore) {
  std::size_t i = 0;
  std::size_t added = 0;
  bool header = false;
  for (std::size_t j = 0; j < after.size(); ++j) {
    if (i < before.size() && after[j] == before[i]) {
      ++i;
      continue;
    }
    if (j == 0 && after[j] == "[General]") {
      header = true;
      continue;
    }
    const std::optional<std::string_view> name = nameOnLine(after[j]);
    MK_REQUIRE(name && set.contains(*name));
    if (i < before.size() && nameOnLine(before[i]) == name) {
      ++i;  // the line that held this name, rewritten
    } else {
      ++added;
    }
  }
  MK_REQUIRE(i == before.size());
  std::size_t newNames = 0;
  for (const auto& [name, value] : set) newNames += hadBefore.contains(name) ? 0 : 1;
  MK_REQUIRE(added == newNames);
  MK_REQUIRE(!header || newNames > 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  struct Change {
    std::uint8_t choice;
    int number;
  };
  std::vector<Change> changes(provider.ConsumeIntegralInRange<std::size_t>(1, 4));
  for (Change& change : changes) change = {provider.ConsumeIntegral<std::uint8_t>(), provider.ConsumeIntegral<int>()};
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const SettingsText original = SettingsText::parse(text);
  // The same lines read as the same values, so this is a round trip too.
  const std::vector<std::string_view> lines = linesOf(text);
  const std::string unchanged = original.text();
  MK_REQUIRE(linesOf(unchanged) == lines);
  if (text.find('\r') == std::string::npos) {
    MK_REQUIRE(unchanged.size() - text.size() <= 1 && unchanged.starts_with(text));
  }

  SettingsText edited = original;
  Values expected = original.values();
  Values set;
  for (const Change& change : changes) {
    std::string name;
    std::string value;
    if (change.choice % 2 == 1 && !original.values().empty()) {
      auto it = original.values().begin();
      std::advance(it, (change.choice / 2) % original.values().size());
      name = it->first;
      value = it->second;
    } else {
      name = mk::settings::kSettings[(change.choice / 2) % mk::settings::kSettings.size()].name;
      value = std::to_string(change.number);
    }
    edited.set(name, value);
    MK_REQUIRE(edited.value(name) == value);
    expected[name] = value;
    set[name] = value;
  }
  MK_REQUIRE(edited.values() == expected);
  const std::string written = edited.text();
  MK_REQUIRE(SettingsText::parse(written).values() == expected);
  requireOtherLinesKept(lines, linesOf(written), set, original.values());
  return 0;
}
