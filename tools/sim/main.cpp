// marsh-keeper-sim: the handheld's engine on virtual time, without a window.
#include <cstdio>
#include <string_view>
#include <vector>

#include "lcd/element_model.h"
#include "tools/sim/options.h"
#include "tools/sim/script.h"
#include "tools/sim/simulation.h"

int main(int argc, char** argv) {
  using namespace mk::sim;
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  Options options;
  if (auto error = parseOptions(args, options)) {
    std::fprintf(stderr, "marsh-keeper-sim: %s\n", error->c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  std::vector<ScriptEvent> script;
  if (options.scriptPath) {
    if (auto error = loadScript(*options.scriptPath, script)) {
      std::fprintf(stderr, "marsh-keeper-sim: %s\n", error->c_str());
      return 2;
    }
  }

  static char buffer[1 << 16];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  mk::lcd::ElementModel display;
  runSimulation(options, std::move(script), display, stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
