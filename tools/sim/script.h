#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/buttons.h"

namespace mk::sim {

using engine::Button;

// What a line does at its millisecond: a button goes down or up; the
// window skipped `skipMs` of real time after a stall (the local clock moves
// on by it, the timers do not); the high scores were reset from the menu.
enum class ScriptAction { Button, Skip, ResetHiScores };

struct ScriptEvent {
  std::int64_t ms = 0;
  bool down = false;
  Button button = Button::Time;
  int line = 0;
  ScriptAction action = ScriptAction::Button;
  std::int64_t skipMs = 0;
  friend bool operator==(const ScriptEvent&, const ScriptEvent&) = default;
};

// Reads a script: one '<ms> down|up <BUTTON>', '<ms> skip <MS>' or
// '<ms> reset HISCORES' a line, times never decreasing; blank lines and '#'
// lines are skipped. On a bad line returns "<name>:<line>: <what is wrong>"
// and leaves `events` unspecified.
std::optional<std::string> parseScript(std::string_view text, std::string_view name, std::vector<ScriptEvent>& events);

// The line parseScript reads back as `event`, without its line break.
std::string scriptLine(const ScriptEvent& event);

// The same for a file; a file that cannot be read is an error too.
std::optional<std::string> loadScript(const std::string& path, std::vector<ScriptEvent>& events);

}  // namespace mk::sim
