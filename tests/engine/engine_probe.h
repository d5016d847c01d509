#pragma once

#include "engine/engine.h"

namespace mk::engine::testing {

// Sets up a state no sequence of presses reaches quickly (an enemy of a given
// age, a score of 1234): tests only.
struct EngineProbe {
  static GameState& state(Engine& engine) { return engine.state_; }
};

}  // namespace mk::engine::testing
