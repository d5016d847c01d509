#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tools/sim/recording.h"

namespace mk::sim {

struct Options {
  std::uint32_t seed = 1;
  int clockMinutes = 12 * 60;  // local time of day at virtual time 0
  int clockRestMs = 0;         // and the milliseconds past that minute, which only a recording gives
  std::int32_t hiScore1 = 0;
  std::int32_t hiScore2 = 0;
  std::int64_t untilMs = 60000;
  bool autoplay = false;
  bool quiet = false;
  bool help = false;
  std::optional<std::string> scriptPath;
  std::optional<std::string> replayPath;  // a recording of the window, which sets the values above
};

// Reads the command line (without the program name). Returns the one-line
// message for the first thing that is wrong, or nothing when all is well.
std::optional<std::string> parseOptions(std::span<const std::string_view> args, Options& options);

// The values a recording's header gives, over those of the command line.
void applyRecordingHeader(const RecordingHeader& header, Options& options);

std::string usageText();

}  // namespace mk::sim
