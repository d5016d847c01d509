#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mk::sim {

struct Options {
  std::uint32_t seed = 1;
  int clockMinutes = 12 * 60;  // local time of day at virtual time 0
  std::int32_t hiScore1 = 0;
  std::int32_t hiScore2 = 0;
  std::int64_t untilMs = 60000;
  bool autoplay = false;
  bool quiet = false;
  bool help = false;
  std::optional<std::string> scriptPath;
};

// Reads the command line (without the program name). Returns the one-line
// message for the first thing that is wrong, or nothing when all is well.
std::optional<std::string> parseOptions(std::span<const std::string_view> args, Options& options);

std::string usageText();

}  // namespace mk::sim
