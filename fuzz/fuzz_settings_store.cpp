// The program's settings store over a settings file a player has edited by
// hand (the input, but for its last bytes, which choose a setting and the
// number written to it). The store opens the file, one value is written,
// and then:
//  - every setting read at opening is what the file says (or its default);
//  - the write is saved, and a store opened afterwards reads it back;
//  - every other value of the file is still there, unchanged, and the
//    settings read at opening read the same again.
// The file lives in a scratchFolder, so the store's file replacement and
// lock cost no disk.
#include <fuzzer/FuzzedDataProvider.h>
#include <fcntl.h>
#include <unistd.h>

#include <QString>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "settings/persistent_settings.h"
#include "settings/settings_file.h"
#include "settings/user_settings_store.h"

#include "require.h"
#include "scratch_folder.h"

namespace fs = std::filesystem;
using namespace mk::settings;

namespace {

fs::path g_file;

void writeFile(std::string_view bytes) {
  const int fd = ::open(g_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  MK_REQUIRE(fd >= 0);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    MK_REQUIRE(n > 0);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  ::close(fd);
}

std::string readFile() {
  std::ifstream in(g_file, std::ios::binary);
  MK_REQUIRE(static_cast<bool>(in));
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What a setting reads as when the file's values are `values`.
int expectedRead(const std::map<std::string, std::string, std::less<>>& values, const SettingInfo& setting) {
  int value = setting.defaultValue;
  if (const auto it = values.find(setting.name); it != values.end()) parseStoredInt(it->second, value);
  return value;
}

// A store that must never have anything to tell the player: the folder is
// writable and no file the fuzzer writes is anywhere near too large.
struct QuietStore {
  UserSettingsStore store{QString::fromStdString(g_file.string())};
  QuietStore() {
    store.setNoticeReporter([](std::string_view) { std::abort(); });
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const SettingInfo& written = kSettings[provider.ConsumeIntegralInRange<std::size_t>(0, kSettings.size() - 1)];
  const int number = provider.ConsumeIntegral<int>();
  const std::string text = provider.ConsumeRemainingBytesAsString();
  if (text.size() > kMaxSettingsFileBytes) return -1;  // put aside by the store, not read
  if (g_file.empty()) g_file = mk::fuzz::scratchFolder("settings_store") / "MarshKpr50.conf";
  writeFile(text);
  const auto before = SettingsText::parse(text).values();

  std::array<int, kSettings.size()> opened{};
  {
    QuietStore quiet;
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
      opened[i] = quiet.store.readInt(kSettings[i].name, kSettings[i].defaultValue);
      MK_REQUIRE(opened[i] == expectedRead(before, kSettings[i]));
    }
    quiet.store.writeInt(written.name, number);
    MK_REQUIRE(quiet.store.writable());
    MK_REQUIRE(quiet.store.readInt(written.name, written.defaultValue) == number);
  }

  auto after = SettingsText::parse(readFile()).values();
  MK_REQUIRE(after[std::string(written.name)] == std::to_string(number));
  after.erase(std::string(written.name));
  auto others = before;
  others.erase(std::string(written.name));
  MK_REQUIRE(after == others);

  QuietStore reopened;
  for (std::size_t i = 0; i < kSettings.size(); ++i) {
    const int expected = &kSettings[i] == &written ? number : opened[i];
    MK_REQUIRE(reopened.store.readInt(kSettings[i].name, kSettings[i].defaultValue) == expected);
  }
  return 0;
}
