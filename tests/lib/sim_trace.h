#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "lcd/element_model.h"
#include "tools/sim/options.h"
#include "tools/sim/script.h"
#include "tools/sim/simulation.h"

namespace mk::test {

// The simulator's trace of `script` under `options`, as it would print it.
inline std::string simulatedTrace(const sim::Options& options, std::vector<sim::ScriptEvent> script) {
  std::FILE* f = std::tmpfile();
  lcd::ElementModel display;
  sim::runSimulation(options, std::move(script), display, f);
  std::rewind(f);
  std::string out;
  char buffer[4096];
  while (std::size_t n = std::fread(buffer, 1, sizeof buffer, f)) out.append(buffer, n);
  std::fclose(f);
  return out;
}

}  // namespace mk::test
