#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/buttons.h"

namespace mk::sim {

using engine::Button;

struct ScriptEvent {
  std::int64_t ms = 0;
  bool down = false;
  Button button = Button::Time;
  int line = 0;
  friend bool operator==(const ScriptEvent&, const ScriptEvent&) = default;
};

// Reads a script: one '<ms> down|up <BUTTON>' a line, times never
// decreasing; blank lines and '#' lines are skipped. On a bad line returns
// "<name>:<line>: <what is wrong>" and leaves `events` unspecified.
std::optional<std::string> parseScript(std::string_view text, std::string_view name, std::vector<ScriptEvent>& events);

// The same for a file; a file that cannot be read is an error too.
std::optional<std::string> loadScript(const std::string& path, std::vector<ScriptEvent>& events);

}  // namespace mk::sim
