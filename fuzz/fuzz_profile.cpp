// The Config.ini reader over arbitrary text, queried with fuzzed names and
// with the names the skin uses. Checks the reader's promises on every read.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/profile.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void readAll(const mk::skin::ProfileFile& ini, const std::string& section, const std::string& key) {
  if (const auto value = ini.readString(section, key)) require(value->size() <= mk::skin::kMaxProfileValueLength);
  require(ini.readText(section, key, "  default  ").size() <= mk::skin::kMaxProfileValueLength);
  const int integer = ini.readInteger(section, key, 611);
  if (const auto text = ini.readString(section, key)) {
    const auto parsed = mk::skin::parseConfigInteger(*text);
    require(integer == parsed.value_or(611));
  }
  (void)ini.readFlag(section, key, false);
  const mk::skin::ColourResult colour = ini.readColour(section, key, "$00ff00ff");
  require(colour.colour.has_value() == colour.error.empty());
  const std::string folder = ini.readFolder(section, key, "Graphics\\Skin\\");
  require(!folder.empty() && folder.back() == '/' && folder.find('\\') == std::string::npos);
  if (const auto file = ini.readFileName(section, key, "nil")) {
    require(!file->empty() && *file != "nil" && file->find('\\') == std::string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string section = provider.ConsumeRandomLengthString(32);
  const std::string key = provider.ConsumeRandomLengthString(32);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  (void)mk::skin::parseConfigInteger(text);
  const mk::skin::ProfileFile ini = mk::skin::ProfileFile::parse(text);
  readAll(ini, section, key);
  for (const char* s : {"Common", "Fullscreen", "VideoMode", "Manual", "Image1", "Image78"}) {
    for (const char* k : {"SkinDir", "GameWidth", "BgColor", "BackdropFile", "Filename", "Left"}) readAll(ini, s, k);
  }
  return 0;
}
