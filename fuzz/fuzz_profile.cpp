// The Config.ini reader over arbitrary text, queried with a fuzzed section
// and key and with one of the names the skin uses (the last byte picks it).
// Checks the reader's promises on every read.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/profile.h"

#include "require.h"

namespace {

void readAll(const mk::skin::ProfileFile& ini, const std::string& section, const std::string& key) {
  const auto value = ini.readString(section, key);
  if (value) MK_REQUIRE(value->size() <= mk::skin::kMaxProfileValueLength);
  const std::string text = ini.readText(section, key, "  default  ");
  MK_REQUIRE(text.size() <= mk::skin::kMaxProfileValueLength);
  MK_REQUIRE(value ? text == *value : text == "  default");
  const int integer = ini.readInteger(section, key, 611);
  if (value) MK_REQUIRE(integer == mk::skin::parseConfigInteger(*value).value_or(611));
  (void)ini.readFlag(section, key, false);
  const mk::skin::ColourResult colour = ini.readColour(section, key, "$00ff00ff");
  MK_REQUIRE(colour.colour.has_value() == colour.error.empty());
  const std::string folder = ini.readFolder(section, key, "Graphics\\Skin\\");
  MK_REQUIRE(!folder.empty() && folder.back() == '/' && folder.find('\\') == std::string::npos);
  if (const auto file = ini.readFileName(section, key, "nil")) {
    MK_REQUIRE(!file->empty() && *file != "nil" && file->find('\\') == std::string::npos);
  }
}

// The names the skin loader asks for, as it spells them.
constexpr std::array kSections{"Common", "Fullscreen", "VideoMode", "Manual", "Image1", "Image78"};
constexpr std::array kKeys{"SkinDir", "GameWidth", "BgColor", "BackdropFile", "Filename", "Left"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::size_t known = provider.ConsumeIntegralInRange<std::size_t>(0, kSections.size() * kKeys.size() - 1);
  const std::string section = provider.ConsumeRandomLengthString(32);
  const std::string key = provider.ConsumeRandomLengthString(32);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  (void)mk::skin::parseConfigInteger(text);
  const mk::skin::ProfileFile ini = mk::skin::ProfileFile::parse(text);
  readAll(ini, section, key);
  readAll(ini, kSections[known / kKeys.size()], kKeys[known % kKeys.size()]);
  return 0;
}
