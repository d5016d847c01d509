#pragma once

#include <charconv>
#include <string>
#include <string_view>
#include <system_error>

namespace mk::sim {

// Reads all of `text` as a decimal whole number within [min, max]. Where no
// value below 0 is allowed no sign is either, so "-0" is refused like "-5"
// (from_chars alone would read it as 0).
template <typename T>
bool parseWhole(std::string_view text, T min, T max, T& out) {
  if (text.empty()) return false;
  if (min >= T{0} && text.front() == '-') return false;
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (ec != std::errc{} || end != text.data() + text.size()) return false;
  if (value < min || value > max) return false;
  out = value;
  return true;
}

// A message as one line, whatever the arguments it quotes hold: line breaks,
// tabs and other control characters are written as escapes (\n, \t, \x1b).
inline std::string oneLine(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (u < 0x20 || u == 0x7f) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\x";
      out += kHex[u >> 4];
      out += kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace mk::sim
