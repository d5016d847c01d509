#include "tools/sim/recording.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "tools/sim/command_line_text.h"

namespace mk::sim {

namespace {

constexpr std::string_view kMagic = "marsh-keeper recording 1";
constexpr std::string_view kChecksumName = "fnv1a32";
constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;
// Virtual time as far as the simulator's --until reaches.
constexpr std::int64_t kMaxUntilMs = 1'000'000'000'000'000;

std::string clockText(std::int64_t ms) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", static_cast<int>(ms / 3'600'000),
                static_cast<int>(ms / 60'000 % 60), static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000));
  return text;
}

bool parseClock(std::string_view text, std::int64_t& ms) {
  if (text.size() != 12 || text[2] != ':' || text[5] != ':' || text[8] != '.') return false;
  int h = 0, m = 0, s = 0, milli = 0;
  if (!parseWhole(text.substr(0, 2), 0, 23, h) || !parseWhole(text.substr(3, 2), 0, 59, m) ||
      !parseWhole(text.substr(6, 2), 0, 59, s) || !parseWhole(text.substr(9, 3), 0, 999, milli))
    return false;
  ms = ((h * 60LL + m) * 60 + s) * 1000 + milli;
  return ms < kDayMs;
}

// Splits off the next line (without its '\n'); false when there is none.
bool nextLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  const auto newline = text.find('\n');
  if (newline == std::string_view::npos) return false;  // every header line ends in one
  line = text.substr(0, newline);
  text.remove_prefix(newline + 1);
  return true;
}

// "<key> <value>" with exactly that key; the value in `value`.
bool field(std::string_view line, std::string_view key, std::string_view& value) {
  if (line.size() <= key.size() + 1 || line.substr(0, key.size()) != key || line[key.size()] != ' ') return false;
  value = line.substr(key.size() + 1);
  return true;
}

}  // namespace

std::uint32_t fnv1a32(std::string_view bytes) {
  std::uint32_t hash = 2166136261u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

std::string formatRecording(const Recording& r) {
  std::string body;
  for (const ScriptEvent& event : r.events) body += scriptLine(event) + '\n';
  char checksum[9];
  std::snprintf(checksum, sizeof checksum, "%08x", fnv1a32(body));
  const RecordingHeader& h = r.header;
  std::string text(kMagic);
  text += "\nversion " + h.version + "\nseed " + std::to_string(h.seed) + "\nclock " + clockText(h.clockMs) +
          "\nhiscore1 " + std::to_string(h.hiScore1) + "\nhiscore2 " + std::to_string(h.hiScore2) + "\nuntil " +
          std::to_string(h.untilMs) + "\nbody " + std::string(kChecksumName) + " " + checksum + " " +
          std::to_string(body.size()) + "\n";
  return text + body;
}

std::optional<std::string> parseRecording(std::string_view text, Recording& out) {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\n' && c != '\r' && c != '\t') || u >= 0x7f) return "is not a recording (binary data)";
  }
  std::string_view line;
  if (!nextLine(text, line) || line != kMagic) return "is not a recording (it does not begin with '" + std::string(kMagic) + "')";

  struct Key {
    std::string_view name;
    std::string_view expected;
  };
  static constexpr std::array<Key, 7> kKeys{{{"version", "a version"},
                                            {"seed", "a seed from 0 to 4294967295"},
                                            {"clock", "a time of day HH:MM:SS.mmm"},
                                            {"hiscore1", "a score of 0 or more"},
                                            {"hiscore2", "a score of 0 or more"},
                                            {"until", "a number of milliseconds"},
                                            {"body", "'fnv1a32 <8 hex digits> <length>'"}}};
  RecordingHeader& h = out.header;
  std::uint32_t checksum = 0;
  std::size_t length = 0;
  for (const Key& key : kKeys) {
    std::string_view value;
    if (!nextLine(text, line) || !field(line, key.name, value)) {
      return "is cut short or damaged: no '" + std::string(key.name) + "' line in its header";
    }
    bool ok = true;
    if (key.name == "version") {
      h.version = std::string(value);
    } else if (key.name == "seed") {
      ok = parseWhole<std::uint32_t>(value, 0, std::numeric_limits<std::uint32_t>::max(), h.seed);
    } else if (key.name == "clock") {
      ok = parseClock(value, h.clockMs);
    } else if (key.name == "hiscore1") {
      ok = parseWhole<std::int32_t>(value, 0, std::numeric_limits<std::int32_t>::max(), h.hiScore1);
    } else if (key.name == "hiscore2") {
      ok = parseWhole<std::int32_t>(value, 0, std::numeric_limits<std::int32_t>::max(), h.hiScore2);
    } else if (key.name == "until") {
      ok = parseWhole<std::int64_t>(value, 0, kMaxUntilMs, h.untilMs);
    } else {
      const auto first = value.find(' ');
      const auto second = first == std::string_view::npos ? first : value.find(' ', first + 1);
      ok = second != std::string_view::npos && value.substr(0, first) == kChecksumName &&
           second - first - 1 == 8 &&
           std::from_chars(value.data() + first + 1, value.data() + second, checksum, 16).ptr ==
               value.data() + second &&
           parseWhole<std::size_t>(value.substr(second + 1), 0, std::numeric_limits<std::size_t>::max(), length);
    }
    if (!ok) return "has a bad '" + std::string(key.name) + "' line: '" + std::string(value) + "' is not " + std::string(key.expected);
  }
  if (text.size() != length || fnv1a32(text) != checksum) {
    return "does not match its checksum (cut short or edited): nothing replayed";
  }
  if (auto error = parseScript(text, "body", out.events)) return "has a bad line in its " + *error;
  for (const ScriptEvent& event : out.events) {
    if (event.ms > h.untilMs) return "has an event at " + std::to_string(event.ms) + " ms, after its end";
  }
  return {};
}

std::optional<std::string> loadRecording(const std::string& path, Recording& out) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return path + ": is a folder, not a recording";
  std::ifstream in(path, std::ios::binary);
  if (!in) return path + ": cannot be read";
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return path + ": cannot be read";
  if (auto message = parseRecording(text.str(), out)) return path + ": " + *message;
  return {};
}

}  // namespace mk::sim
