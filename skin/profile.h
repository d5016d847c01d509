#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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

// Longest value text a read returns; longer values are cut to this length.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// A configuration file read by the rules of the Windows profile-string service
// (section and key names without regard to case, trimmed values, one pair of
// quotes removed, ";" comment lines, first section and first key win, values
// of at most 2047 characters) and the value kinds built on it.
//
// Queried names lose surrounding spaces (only spaces: a name asked for with a
// tab in front finds nothing). Lines before the first section header, lines
// without "=" and keys of a repeated section can never be read. A UTF-8
// byte-order mark at the start of the file is skipped.
class ProfileFile {
 public:
  ProfileFile() = default;  // no file: every read gives its default
  static ProfileFile load(const std::filesystem::path& path);  // a missing file reads as no file
  static ProfileFile parse(std::string_view text);

  // The value text, or nullopt when the section or key is absent.
  std::optional<std::string> readString(std::string_view section, std::string_view key) const;

  // The value text, or the default (its trailing spaces removed) when absent.
  std::string readText(std::string_view section, std::string_view key, std::string_view defaultText) const;
  // parseConfigInteger of the value; the default for an absent key or a text that is no number.
  int readInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // An integer: 0 is off, any other number on.
  bool readFlag(std::string_view section, std::string_view key, bool defaultValue) const;
  // The value (or the default text) read as a colour number.
  ColourResult readColour(std::string_view section, std::string_view key, std::string_view defaultText) const;
  // Folder text with backslashes turned into '/', and a trailing '/' added when
  // missing. An empty folder text means the current directory ("./").
  std::string readFolder(std::string_view section, std::string_view key, std::string_view defaultText) const;
  // A file name with backslashes turned into '/', or nullopt for "no file"
  // (empty, or exactly "nil").
  std::optional<std::string> readFileName(std::string_view section, std::string_view key,
                                          std::string_view defaultText) const;

 private:
  // Keyed by the names folded to lower case; each holds the first occurrence only.
  using Section = std::unordered_map<std::string, std::string>;
  std::unordered_map<std::string, Section> sections_;
};

// The integer rule of the configuration: a whole signed 32-bit number in
// decimal, "$" hexadecimal, or "0x"/"0X" hexadecimal when longer than two
// characters, with an optional sign in front. Hexadecimal texts are 32-bit
// patterns ("$FFFFFFFF" is -1). nullopt for anything else.
std::optional<int> parseConfigInteger(std::string_view text);

// The colour of a number: the lowest byte red, the next green, the next blue.
Colour colourFromInteger(int value);

}  // namespace mk::skin
