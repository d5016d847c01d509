#pragma once

// The high-score rule, in one place: each game keeps its own high score under
// its own setting, and a finished game replaces it only when its score is
// strictly greater.
#include <array>
#include <cstdint>

#include "engine/engine.h"
#include "settings/persistent_settings.h"

namespace mk::engine {

struct HighScoreSlot {
  Mode game;
  std::int32_t GameState::*score;
  settings::Setting setting;
};

inline constexpr std::array<HighScoreSlot, 2> kHighScores{{
    {kModeGameA, &GameState::HiScore1, settings::Setting::HiScore1},
    {kModeGameB, &GameState::HiScore2, settings::Setting::HiScore2},
}};

// The slot of the game that `mode` plays; Game B's for every mode but Game A,
// as the game-over display has always read it.
constexpr const HighScoreSlot& highScoreSlotOf(std::int32_t mode) {
  return mode == kModeGameA ? kHighScores[0] : kHighScores[1];
}

constexpr bool beatsHighScore(std::int32_t score, std::int32_t highScore) { return score > highScore; }

}  // namespace mk::engine
