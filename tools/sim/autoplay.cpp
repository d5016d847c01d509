#include "tools/sim/autoplay.h"

#include <algorithm>
#include <cstdlib>

#include "lcd/segment_tables.h"

namespace mk::sim {

using namespace mk::lcd;

namespace {

struct Waypoint {
  ElementId segment;
  int lane;
  int movesLeft;  // lane moves until the item stands on its last step
};

// Every place an item can be, with how far it is from the hero's row. A side
// picture costs the moves of its detour on top of the step it left.
constexpr std::array kWaypoints{
    Waypoint{im_item_1_1, 1, 2}, Waypoint{im_item_1_2, 1, 1}, Waypoint{im_item_1_1a, 1, 4},
    Waypoint{im_item_1_1b, 1, 3}, Waypoint{im_item_2_1, 2, 3}, Waypoint{im_item_2_2, 2, 2},
    Waypoint{im_item_2_3, 2, 1}, Waypoint{im_item_3_1, 3, 4}, Waypoint{im_item_3_2, 3, 3},
    Waypoint{im_item_3_3, 3, 2}, Waypoint{im_item_3_4, 3, 1}, Waypoint{im_item_3_2a, 3, 5},
    Waypoint{im_item_3_2b, 3, 4},
};

}  // namespace

int AutoPlayer::heroLane() const {
  for (std::size_t lane = 1; lane <= 3; ++lane) {
    if (lit(HeroSegments[lane][kBody])) return static_cast<int>(lane);
  }
  return 0;
}

// A game is on while its mark is lit and the third miss mark is not: after
// the third miss the handheld only shows the game-over panel.
bool AutoPlayer::playing() const {
  return (lit(im_panel_game_a) || lit(im_panel_game_b)) && !lit(im_panel_miss_3);
}

// The attack picture stays lit through the pause after a catch or strike,
// when the hero cannot move.
bool AutoPlayer::heroHeld() const {
  for (std::size_t lane = 1; lane <= 3; ++lane) {
    if (lit(HeroSegments[lane][kAttack])) return true;
  }
  return false;
}

int AutoPlayer::targetLane() const {
  const int hero = heroLane();
  if (!playing() || hero == 0) return 0;
  int best = 0;
  int bestCost = 0;
  const auto consider = [&](int lane, int urgency) {
    // Lower urgency first; between equals, the lane nearer the hero.
    const int cost = urgency * 10 + std::abs(lane - hero);
    if (best == 0 || cost < bestCost) {
      best = lane;
      bestCost = cost;
    }
  };
  for (int lane = 1; lane <= 3; ++lane) {
    if (lit(*ItemSegments[static_cast<std::size_t>(lane)][static_cast<std::size_t>(endStep(lane))])) consider(lane, 0);
  }
  if (best) return best;
  for (std::size_t lane = 1; lane <= 3; ++lane) {
    if (lit(EnemySegments[lane][1])) consider(static_cast<int>(lane), 0);
  }
  if (best) return best;
  for (const auto& w : kWaypoints) {
    if (lit(w.segment)) consider(w.lane, w.movesLeft);
  }
  return best ? best : hero;
}

void AutoPlayer::wake(std::int64_t now) {
  wakeAt_.reset();
  if (held_ == Held::Left) engine_.Inp_left_up();
  if (held_ == Held::Right) engine_.Inp_right_up();
  if (held_ != Held::None) {
    held_ = Held::None;
    readyAt_ = now + kGapMs;
    return;
  }
  if (heroHeld()) return;
  const int target = targetLane();
  const int hero = heroLane();
  if (target == 0 || target == hero) return;
  if (target < hero) {
    held_ = Held::Left;
    engine_.Inp_left_down();
  } else {
    held_ = Held::Right;
    engine_.Inp_right_down();
  }
  wakeAt_ = now + kHoldMs;
}

void AutoPlayer::observe(std::int64_t now) {
  if (wakeAt_ || held_ != Held::None || heroHeld()) return;
  const int target = targetLane();
  if (target != 0 && target != heroLane()) wakeAt_ = std::max(now + kReactionMs, readyAt_);
}

}  // namespace mk::sim
