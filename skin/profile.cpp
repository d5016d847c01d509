#include "skin/profile.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

namespace mk::skin {
namespace {

// Blanks around names and values in the file. Form feed, CR and Ctrl-Z are
// not among them.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names asked for by the caller lose only their spaces.
std::string_view trimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string foldCase(std::string_view s) {
  std::string folded(s);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// One outer pair of matching quotes goes; unpaired or mismatched quotes stay.
std::string_view unquote(std::string_view s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front()) {
    s.remove_prefix(1);
    s.remove_suffix(1);
  }
  return s;
}

// The service hands back a NUL-terminated text of bounded length.
std::string_view limitValue(std::string_view s) {
  s = s.substr(0, s.find('\0'));
  return s.substr(0, std::min(s.size(), kMaxProfileValueLength));
}

std::string withSlashes(std::string text) {
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

ProfileFile ProfileFile::load(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {};
  // libstdc++ reports a failing read (a folder, an I/O error) by throwing.
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parse(text);
  } catch (const std::exception&) {
    return {};
  }
}

ProfileFile ProfileFile::parse(std::string_view text) {
  ProfileFile file;
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());

  Section* current = nullptr;  // null before the first header and inside a repeated section
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    std::string_view line = trimBlanks(text.substr(0, end));
    if (end == std::string_view::npos) {
      text = {};
    } else {
      const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
      text.remove_prefix(end + (crlf ? 2 : 1));
    }

    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      // The name ends at the first ']'; a missing ']' is tolerated and
      // anything after the ']' is ignored.
      line.remove_prefix(1);
      const auto [it, inserted] = file.sections_.try_emplace(foldCase(trimBlanks(line.substr(0, line.find(']')))));
      current = inserted ? &it->second : nullptr;
      continue;
    }
    if (!current) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view value = limitValue(unquote(trimBlanks(line.substr(equals + 1))));
    current->try_emplace(foldCase(trimBlanks(line.substr(0, equals))), value);
  }
  return file;
}

std::optional<std::string> ProfileFile::readString(std::string_view section, std::string_view key) const {
  const auto s = sections_.find(foldCase(trimSpaces(section)));
  if (s == sections_.end()) return std::nullopt;
  const auto k = s->second.find(foldCase(trimSpaces(key)));
  if (k == s->second.end()) return std::nullopt;
  return k->second;
}

std::string ProfileFile::readText(std::string_view section, std::string_view key,
                                  std::string_view defaultText) const {
  if (auto value = readString(section, key)) return *std::move(value);
  while (!defaultText.empty() && defaultText.back() == ' ') defaultText.remove_suffix(1);
  return std::string(limitValue(defaultText));
}

int ProfileFile::readInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const auto value = readString(section, key);
  if (!value) return defaultValue;
  return parseConfigInteger(*value).value_or(defaultValue);
}

bool ProfileFile::readFlag(std::string_view section, std::string_view key, bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

ColourResult ProfileFile::readColour(std::string_view section, std::string_view key,
                                     std::string_view defaultText) const {
  const std::string text = readText(section, key, defaultText);
  if (const auto value = parseConfigInteger(text)) return {colourFromInteger(*value), {}};
  return {std::nullopt, "'" + text + "' is not a valid integer value"};
}

std::string ProfileFile::readFolder(std::string_view section, std::string_view key,
                                    std::string_view defaultText) const {
  std::string folder = withSlashes(readText(section, key, defaultText));
  // An empty folder is the current directory, not the file system's root.
  if (folder.empty()) return "./";
  if (folder.back() != '/') folder += '/';
  return folder;
}

std::optional<std::string> ProfileFile::readFileName(std::string_view section, std::string_view key,
                                                     std::string_view defaultText) const {
  std::string name = readText(section, key, defaultText);
  if (name.empty() || name == "nil") return std::nullopt;
  return withSlashes(std::move(name));
}

std::optional<int> parseConfigInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;

  // Decimal must fit a signed 32-bit number; hexadecimal is a 32-bit pattern.
  const std::uint64_t limit = base == 16 ? 0xFFFF'FFFFull : (negative ? 0x8000'0000ull : 0x7FFF'FFFFull);
  std::uint64_t magnitude = 0;
  for (const char c : text) {
    const int digit = hexDigit(c);
    if (digit < 0 || static_cast<unsigned>(digit) >= base) return std::nullopt;
    magnitude = magnitude * base + static_cast<unsigned>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  auto bits = static_cast<std::uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  return static_cast<int>(bits);
}

Colour colourFromInteger(int value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits & 0xFF), static_cast<std::uint8_t>((bits >> 8) & 0xFF),
          static_cast<std::uint8_t>((bits >> 16) & 0xFF)};
}

}  // namespace mk::skin
