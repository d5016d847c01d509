#pragma once

#include <functional>

namespace mk::app {

class TForm1;

// Everything the program entry does, in its order: the units, the toolkit,
// the five windows, the event loop. `afterCreation`, when given, runs once
// the windows exist and before the loop (the benchmarks measure through it;
// the shipped program passes nothing).
int runProgram(int argc, char* argv[], const std::function<void(TForm1&)>& afterCreation = {});

}  // namespace mk::app
