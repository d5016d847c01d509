#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace mk::input {

// Windows virtual-key numbers: the key codes of every key handler in the
// program, whatever the platform reports.
namespace vk {
inline constexpr std::uint16_t kReturn = 13;
inline constexpr std::uint16_t kShift = 16;
inline constexpr std::uint16_t kControl = 17;
inline constexpr std::uint16_t kAlt = 18;
inline constexpr std::uint16_t kEscape = 27;
inline constexpr std::uint16_t kSpace = 32;
inline constexpr std::uint16_t kLeft = 37;
inline constexpr std::uint16_t kUp = 38;
inline constexpr std::uint16_t kRight = 39;
inline constexpr std::uint16_t kDown = 40;
inline constexpr std::uint16_t kDigit0 = 48;   // '0'..'9' are 48..57
inline constexpr std::uint16_t kLetterA = 65;  // 'A'..'Z' are 65..90
inline constexpr std::uint16_t kNumpad0 = 96;  // keypad digits 96..105
inline constexpr std::uint16_t kF1 = 112;      // F1..F12 are 112..123
inline constexpr std::uint16_t kF12 = 123;
// The key of digit 0..9 on the main row, and the function key F1..F12.
constexpr std::uint16_t digit(int d) { return static_cast<std::uint16_t>(kDigit0 + d); }
constexpr std::uint16_t function(int n) { return static_cast<std::uint16_t>(kF1 + n - 1); }
static_assert(function(12) == kF12);
}  // namespace vk

// A short text kept inside a constexpr table.
template <std::size_t N>
struct FixedText {
  std::array<char, N> chars{};
  std::size_t length = 0;
  constexpr FixedText() = default;
  constexpr explicit FixedText(std::string_view text) {
    for (char c : text) chars[length++] = c;
  }
  template <std::size_t M>
  constexpr FixedText(const char (&text)[M]) : FixedText(std::string_view(text, M - 1)) {  // NOLINT: table literals
    static_assert(M <= N);
  }
  constexpr std::string_view view() const { return {chars.data(), length}; }
};

// One of the 44 keys a handheld button can be bound to.
struct KeyEntry {
  std::uint16_t code = 0;   // Windows virtual-key number
  FixedText<20> nameText;   // in the button hints: 'A', 'left arrow' key
  FixedText<16> listText;   // in the key dialog's lists: A, <LEFT ARROW>
  constexpr std::string_view name() const { return nameText.view(); }
  constexpr std::string_view list() const { return listText.view(); }
};

inline constexpr int kKeyCount = 44;
inline constexpr int kFirstFixedKey = 37;

namespace detail {

// Key indices 37..44. The arrows are listed up, down, left, right, which is
// not the order of their codes.
inline constexpr std::array<KeyEntry, kKeyCount - kFirstFixedKey + 1> kFixedKeys{{
    {vk::kUp, "'up arrow' key", "<UP ARROW>"},
    {vk::kDown, "'down arrow' key", "<DOWN ARROW>"},
    {vk::kLeft, "'left arrow' key", "<LEFT ARROW>"},
    {vk::kRight, "'right arrow' key", "<RIGHT ARROW>"},
    {vk::kAlt, "'alt' key", "<ALT>"},
    {vk::kControl, "'ctrl' key", "<CTRL>"},
    {vk::kShift, "'shift' key", "<SHIFT>"},
    {vk::kSpace, "'spacebar'", "<SPACEBAR>"},
}};

constexpr std::array<KeyEntry, kKeyCount> makeKeyNames() {
  std::array<KeyEntry, kKeyCount> keys{};
  for (int index = 1; index < kFirstFixedKey; ++index) {
    // 1..10 are the digits 0..9, 11..36 the letters A..Z: the key's code is
    // its character's code.
    const char c = static_cast<char>(index < 11 ? index + 47 : index + 54);
    const char quoted[3] = {'\'', c, '\''};
    KeyEntry& key = keys[static_cast<std::size_t>(index - 1)];
    key.code = static_cast<std::uint16_t>(c);
    key.nameText = FixedText<20>(std::string_view(quoted, 3));
    key.listText = FixedText<16>(std::string_view(&c, 1));
  }
  for (std::size_t i = 0; i < kFixedKeys.size(); ++i) keys[kFirstFixedKey - 1 + i] = kFixedKeys[i];
  return keys;
}

}  // namespace detail

// The key table, one entry per key index: KeyNames[index - 1].
inline constexpr std::array<KeyEntry, kKeyCount> KeyNames = detail::makeKeyNames();
static_assert(KeyNames.size() == 44);
static_assert(KeyNames[0].code == '0' && KeyNames[9].code == '9');
static_assert(KeyNames[10].code == 'A' && KeyNames[35].code == 'Z');
static_assert(KeyNames[1].name() == "'1'" && KeyNames[1].list() == "1");
static_assert(KeyNames[38].code == vk::kLeft && KeyNames[43].list() == "<SPACEBAR>");

constexpr bool isKeyIndex(int index) { return index >= 1 && index <= kKeyCount; }

// The hint name of a key index; empty outside 1..44.
constexpr std::string_view keyName(int index) {
  return isKeyIndex(index) ? KeyNames[static_cast<std::size_t>(index - 1)].name() : std::string_view{};
}

constexpr std::optional<std::uint16_t> keyCodeOf(int index) {
  if (!isKeyIndex(index)) return std::nullopt;
  return KeyNames[static_cast<std::size_t>(index - 1)].code;
}

}  // namespace mk::input
