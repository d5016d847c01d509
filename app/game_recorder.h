#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "tools/sim/recording.h"

namespace mk::app {

// The recording of a session in the window, for the simulator to replay:
// kept in memory from virtual 0 and written whole, through a temporary file
// and a rename, each time it is saved (at every game end and as the program
// ends), so the file on disk is always a complete recording.
class GameRecorder {
 public:
  explicit GameRecorder(std::filesystem::path file) : file_(std::move(file)) {}

  void begin(const sim::RecordingHeader& header) {
    recording_.header = header;
    recording_.events.clear();
  }
  void add(const sim::ScriptEvent& event) { recording_.events.push_back(event); }
  // Writes everything so far as a recording that ends at `untilMs`; the
  // reason when the file could not be written.
  std::optional<std::string> save(std::int64_t untilMs);

  const std::filesystem::path& file() const { return file_; }
  const sim::Recording& recording() const { return recording_; }

 private:
  std::filesystem::path file_;
  sim::Recording recording_;
};

}  // namespace mk::app
