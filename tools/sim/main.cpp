// marsh-keeper-sim: the handheld's engine on virtual time, without a window.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lcd/element_model.h"
#include "tools/sim/command_line_text.h"
#include "tools/sim/options.h"
#include "tools/sim/recording.h"
#include "tools/sim/script.h"
#include "tools/sim/simulation.h"
#include "tools/sim/skin_report.h"
#include "tools/sim/snapshot.h"

int main(int argc, char** argv) {
  using namespace mk::sim;
  std::vector<std::string_view> args(argv + 1, argv + argc);
  if (std::find(args.begin(), args.end(), std::string_view("--skin-report")) != args.end()) {
    return runSkinReport(args, std::cout, std::cerr);
  }
  std::optional<std::string> snapshot;
  if (auto error = takeSnapshotOption(args, snapshot)) {
    std::fprintf(stderr, "marsh-keeper-sim: %s\n", oneLine(*error).c_str());
    return 2;
  }
  Options options;
  if (auto error = parseOptions(args, options)) {
    std::fprintf(stderr, "marsh-keeper-sim: %s\n", oneLine(*error).c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(usageText().c_str(), stdout);
    std::fputs("  --snapshot FILE.png  load the skin beside the simulator and picture the face at the end\n"
               "  --skin-report [--fullscreen] [--screen WIDTHxHEIGHT]  one skin pass, and what it set\n",
               stdout);
    return 0;
  }
  std::vector<ScriptEvent> script;
  if (options.replayPath) {
    Recording recording;
    if (auto error = loadRecording(*options.replayPath, recording)) {
      std::fprintf(stderr, "marsh-keeper-sim: %s\n", oneLine(*error).c_str());
      return 2;
    }
    applyRecordingHeader(recording.header, options);
    script = std::move(recording.events);
  } else if (options.scriptPath) {
    if (auto error = loadScript(*options.scriptPath, script)) {
      std::fprintf(stderr, "marsh-keeper-sim: %s\n", oneLine(*error).c_str());
      return 2;
    }
  }

  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  mk::lcd::ElementModel display;
  std::optional<SnapshotSkin> skin;
  if (snapshot) skin = loadSkinForSnapshot(display, executableFolder() / "Config.ini", std::cerr);
  runSimulation(options, std::move(script), display, stdout);
  if (std::fflush(stdout) != 0) return 1;
  if (snapshot) {
    if (const std::string error = writeSnapshot(display, *skin, *snapshot); !error.empty()) {
      std::fprintf(stderr, "marsh-keeper-sim: %s\n", oneLine(error).c_str());
      return 1;
    }
  }
  return 0;
}
