#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/script.h"

namespace mk::sim {

// A game played in the window, as the simulator replays it: what the engine
// started from at virtual 0 and everything that reached it afterwards.
//
//   marsh-keeper recording 1
//   version 5.0.0
//   seed 2731593025
//   clock 13:45:07.123        local time of day at virtual 0
//   hiscore1 12
//   hiscore2 40
//   until 61234               virtual ms the recording was written at
//   body fnv1a32 8c1d09e3 412 checksum and length in bytes of what follows
//   <script lines, one event each: down/up, skip, reset>
//
// The checksum (32-bit FNV-1a of the body's bytes, as eight hex digits) and
// the length catch a recording that was cut short or edited.
// The version the programs of this build write.
inline constexpr std::string_view kProgramVersion = MK_PROGRAM_VERSION;

struct RecordingHeader {
  std::string version;
  std::uint32_t seed = 0;
  std::int64_t clockMs = 0;  // milliseconds since midnight
  std::int32_t hiScore1 = 0;
  std::int32_t hiScore2 = 0;
  std::int64_t untilMs = 0;
};

struct Recording {
  RecordingHeader header;
  std::vector<ScriptEvent> events;
};

std::uint32_t fnv1a32(std::string_view bytes);

// The file's text; events in the order they happened, times never decreasing.
std::string formatRecording(const Recording& recording);

// Reads the whole text of a recording. On anything wrong returns one line
// that says what, and `out` is left unspecified: a recording is replayed
// whole or not at all.
std::optional<std::string> parseRecording(std::string_view text, Recording& out);

// The same for a file, the message starting with its path.
std::optional<std::string> loadRecording(const std::string& path, Recording& out);

}  // namespace mk::sim
