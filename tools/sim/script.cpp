#include "tools/sim/script.h"

#include "tools/sim/command_line_text.h"

#include <array>
#include <limits>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace mk::sim {

namespace {

constexpr std::array<std::pair<std::string_view, Button>, 4> kButtonNames{{
    {"TIME", Button::Time},
    {"ACL", Button::Acl},
    {"LEFT", Button::Left},
    {"RIGHT", Button::Right},
}};

constexpr std::string_view kHiScoresWord = "HISCORES";
// A skip is real time a stall took: days at most, well clear of overflow.
constexpr std::int64_t kMaxSkipMs = 1'000'000'000'000;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isSpace(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isSpace(line[i])) ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

}  // namespace

std::optional<std::string> parseScript(std::string_view text, std::string_view name, std::vector<ScriptEvent>& events) {
  events.clear();
  int lineNumber = 0;
  std::int64_t previous = 0;
  while (!text.empty()) {
    const auto newline = text.find('\n');
    const std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    ++lineNumber;

    const auto w = words(line);
    if (w.empty() || w.front().front() == '#') continue;
    const auto fail = [&](const std::string& what) {
      return std::string(name) + ":" + std::to_string(lineNumber) + ": " + what;
    };
    if (w.size() != 3) return fail("expected '<ms> down|up <BUTTON>', got '" + std::string(line) + "'");

    ScriptEvent event;
    event.line = lineNumber;
    if (!parseWhole(w[0], decltype(event.ms){0}, std::numeric_limits<decltype(event.ms)>::max(), event.ms)) {
      return fail("'" + std::string(w[0]) + "' is not a time in milliseconds");
    }
    if (event.ms < previous) {
      return fail("time " + std::to_string(event.ms) + " is before the previous event's " + std::to_string(previous));
    }
    previous = event.ms;

    if (w[1] == "skip") {
      event.action = ScriptAction::Skip;
      if (!parseWhole(w[2], std::int64_t{1}, kMaxSkipMs, event.skipMs)) {
        return fail("'" + std::string(w[2]) + "' is not a skipped time in milliseconds");
      }
      events.push_back(event);
      continue;
    }
    if (w[1] == "reset") {
      if (w[2] != kHiScoresWord) return fail("only HISCORES can be reset, not '" + std::string(w[2]) + "'");
      event.action = ScriptAction::ResetHiScores;
      events.push_back(event);
      continue;
    }
    if (w[1] == "down") {
      event.down = true;
    } else if (w[1] != "up") {
      return fail("'" + std::string(w[1]) + "' is neither down nor up");
    }

    bool known = false;
    for (const auto& [buttonName, button] : kButtonNames) {
      if (w[2] == buttonName) {
        event.button = button;
        known = true;
      }
    }
    if (!known) return fail("unknown button '" + std::string(w[2]) + "' (TIME, ACL, LEFT or RIGHT)");
    events.push_back(event);
  }
  return {};
}

std::string scriptLine(const ScriptEvent& event) {
  std::string line = std::to_string(event.ms);
  switch (event.action) {
    case ScriptAction::Skip:
      return line + " skip " + std::to_string(event.skipMs);
    case ScriptAction::ResetHiScores:
      return line + " reset " + std::string(kHiScoresWord);
    case ScriptAction::Button:
      break;
  }
  line += event.down ? " down " : " up ";
  for (const auto& [buttonName, button] : kButtonNames)
    if (button == event.button) line += buttonName;
  return line;
}

std::optional<std::string> loadScript(const std::string& path, std::vector<ScriptEvent>& events) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return path + ": is a folder, not a script";
  std::ifstream in(path, std::ios::binary);
  if (!in) return path + ": cannot be read";
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return path + ": cannot be read";
  return parseScript(text.str(), path, events);
}

}  // namespace mk::sim
