#include "tools/sim/options.h"

#include "tools/sim/command_line_text.h"

#include <array>
#include <limits>

namespace mk::sim {

namespace {

// Runs on the simulated clock far beyond any real session, yet well clear of
// 64-bit overflow when timers are armed near the end.
constexpr std::int64_t kMaxUntilMs = 1'000'000'000'000'000;

bool parseClock(std::string_view text, int& minutes) {
  const auto colon = text.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() - colon - 1 != 2) return false;
  int hour = 0;
  int minute = 0;
  if (!parseWhole(text.substr(0, colon), 0, 23, hour)) return false;
  if (!parseWhole(text.substr(colon + 1), 0, 59, minute)) return false;
  minutes = hour * 60 + minute;
  return true;
}

using Apply = std::optional<std::string> (*)(std::string_view value, Options& options);

struct OptionSpec {
  std::string_view name;
  std::string_view valueName;  // empty for a flag
  std::string_view help;
  Apply apply;
};

std::string invalid(std::string_view option, std::string_view value, std::string_view expected) {
  return std::string(option) + ": '" + std::string(value) + "' is not " + std::string(expected);
}

// One row per option; a new option is one more row here.
constexpr std::array kOptionTable{
    OptionSpec{"--seed", "N", "seed of the random generator (default 1)",
               [](std::string_view v, Options& o) -> std::optional<std::string> {
                 if (parseWhole<std::uint32_t>(v, 0, std::numeric_limits<std::uint32_t>::max(), o.seed)) return {};
                 return invalid("--seed", v, "a whole number from 0 to 4294967295");
               }},
    OptionSpec{"--clock", "HH:MM", "local time at virtual time 0 (default 12:00)",
               [](std::string_view v, Options& o) -> std::optional<std::string> {
                 if (parseClock(v, o.clockMinutes)) return {};
                 return invalid("--clock", v, "a time of day from 00:00 to 23:59");
               }},
    OptionSpec{"--hiscore1", "N", "stored high score of Game A (default 0)",
               [](std::string_view v, Options& o) -> std::optional<std::string> {
                 if (parseWhole<std::int32_t>(v, 0, std::numeric_limits<std::int32_t>::max(), o.hiScore1)) return {};
                 return invalid("--hiscore1", v, "a score of 0 or more");
               }},
    OptionSpec{"--hiscore2", "N", "stored high score of Game B (default 0)",
               [](std::string_view v, Options& o) -> std::optional<std::string> {
                 if (parseWhole<std::int32_t>(v, 0, std::numeric_limits<std::int32_t>::max(), o.hiScore2)) return {};
                 return invalid("--hiscore2", v, "a score of 0 or more");
               }},
    OptionSpec{"--until", "MS", "virtual time to run to, in ms (default 60000)",
               [](std::string_view v, Options& o) -> std::optional<std::string> {
                 if (parseWhole<std::int64_t>(v, 0, kMaxUntilMs, o.untilMs)) return {};
                 return invalid("--until", v, "a number of milliseconds from 0 to 1000000000000000");
               }},
    OptionSpec{"--autoplay", "", "let the built-in player work LEFT and RIGHT during a game",
               [](std::string_view, Options& o) -> std::optional<std::string> {
                 o.autoplay = true;
                 return {};
               }},
    OptionSpec{"--quiet", "", "no trace; one summary line at the end",
               [](std::string_view, Options& o) -> std::optional<std::string> {
                 o.quiet = true;
                 return {};
               }},
    OptionSpec{"--replay", "FILE",
               "replay a recording of the window; its header sets seed, clock, high scores, until",
               [](std::string_view v, Options& o) -> std::optional<std::string> {
                 if (v.empty()) return std::string("--replay: needs a value FILE");
                 o.replayPath = std::string(v);
                 return {};
               }},
    OptionSpec{"--help", "", "show this help",
               [](std::string_view, Options& o) -> std::optional<std::string> {
                 o.help = true;
                 return {};
               }},
};

}  // namespace

std::optional<std::string> parseOptions(std::span<const std::string_view> args, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg.size() > 1 && arg.front() == '-') {
      const OptionSpec* spec = nullptr;
      for (const auto& candidate : kOptionTable) {
        if (candidate.name == arg) spec = &candidate;
      }
      if (!spec) return "unknown option '" + std::string(arg) + "'";
      std::string_view value;
      if (!spec->valueName.empty()) {
        if (i + 1 >= args.size()) return std::string(arg) + ": needs a value " + std::string(spec->valueName);
        value = args[++i];
      }
      if (auto error = spec->apply(value, options)) return error;
    } else {
      if (options.scriptPath) return "more than one script: '" + *options.scriptPath + "' and '" + std::string(arg) + "'";
      options.scriptPath = std::string(arg);
    }
  }
  if (options.replayPath && options.scriptPath) {
    return "--replay takes the events from its recording, not from the script '" + *options.scriptPath + "'";
  }
  return {};
}

void applyRecordingHeader(const RecordingHeader& header, Options& options) {
  options.seed = header.seed;
  options.clockMinutes = static_cast<int>(header.clockMs / 60000);
  options.clockRestMs = static_cast<int>(header.clockMs % 60000);
  options.hiScore1 = header.hiScore1;
  options.hiScore2 = header.hiScore2;
  options.untilMs = header.untilMs;
}

std::string usageText() {
  std::string text = "usage: marsh-keeper-sim [options] [SCRIPT]\n\n"
                     "Runs the handheld's engine on virtual time and prints what it shows.\n"
                     "SCRIPT lines: '<ms> down|up TIME|ACL|LEFT|RIGHT'; '#' starts a comment line.\n"
                     "Also '<ms> skip MS' (a stall the window skipped: the clock face moves on by MS,\n"
                     "no timer fires for it) and '<ms> reset HISCORES' (the menu's command).\n\n"
                     "A recording (marsh-keeper --record FILE) is a header of 'key value' lines, then\n"
                     "such lines, one for each event at its virtual millisecond:\n"
                     "  marsh-keeper recording 1\n"
                     "  version V                the version of the program that wrote it\n"
                     "  seed N                   the random generator's seed\n"
                     "  clock HH:MM:SS.mmm       local time at virtual time 0\n"
                     "  hiscore1 N               stored high scores at virtual time 0\n"
                     "  hiscore2 N\n"
                     "  until MS                 virtual time the recording ends at\n"
                     "  body fnv1a32 HEX LENGTH  32-bit FNV-1a of the body's bytes, and their number\n"
                     "A recording cut short, edited or not text is refused whole (exit status 2).\n\n";
  for (const auto& spec : kOptionTable) {
    std::string left = "  " + std::string(spec.name);
    if (!spec.valueName.empty()) left += " " + std::string(spec.valueName);
    if (left.size() < 20) left.resize(20, ' ');
    text += left + " " + std::string(spec.help) + "\n";
  }
  return text;
}

}  // namespace mk::sim
