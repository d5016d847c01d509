#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mk::skin {

// A colour as the configuration writes it: the lowest byte red, then green,
// then blue ("$00ff00ff" is magenta).
struct Colour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// A colour read, or the message that says why the text is no colour.
struct ColourResult {
  std::optional<Colour> colour;
  std::string error;  // "'<text>' is not a valid integer value" when colour is empty
};

// A configuration file read by the rules of the Windows profile-string service
// (section and key names without regard to case, trimmed values, one pair of
// quotes removed, ";" comment lines, first section and first key win, values
// of at most 2047 characters) and the value kinds built on it.
class ProfileFile {
 public:
  ProfileFile() = default;  // no file: every read gives its default
  static ProfileFile load(const std::filesystem::path& path);  // a missing file reads as no file
  static ProfileFile parse(std::string_view text);

  // The value text, or nullopt when the section or key is absent.
  std::optional<std::string> readString(std::string_view section, std::string_view key) const;

  std::string readText(std::string_view section, std::string_view key, std::string_view defaultText) const;
  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool readFlag(std::string_view section, std::string_view key, bool defaultValue) const;
  ColourResult readColour(std::string_view section, std::string_view key, std::string_view defaultText) const;
  // Folder text with backslashes turned into '/', and a trailing '/' added when missing.
  std::string readFolder(std::string_view section, std::string_view key, std::string_view defaultText) const;
  // A file name, or nullopt for "no file" (empty, or exactly "nil").
  std::optional<std::string> readFileName(std::string_view section, std::string_view key,
                                          std::string_view defaultText) const;

 private:
  struct Entry {
    std::string key;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  std::vector<Section> sections_;
};

// The integer rule of the configuration: a whole signed 32-bit number in
// decimal, "$" hexadecimal, or "0x"/"0X" hexadecimal when longer than two
// characters. nullopt for anything else.
std::optional<int> parseConfigInteger(std::string_view text);

}  // namespace mk::skin
