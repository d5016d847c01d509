// The game tick: catch, strike, misses, lane moves and feeding. The lit
// segments are the playfield; the tick reads them back as its state_.
#include "engine/engine.h"
#include "lcd/display_ops.h"
#include "lcd/segment_tables.h"

namespace mk::engine {

using namespace mk::lcd;

namespace {

ElementId step(int lane, int s) { return *ItemSegments[static_cast<std::size_t>(lane)][static_cast<std::size_t>(s)]; }
ElementId endOf(int lane) { return step(lane, endStep(lane)); }

}  // namespace

void Engine::Timer_GameTimer() {
  const int lane = state_.HeroLane;
  if (catchOrStrike(lane)) return;  // the phase is run again after the pause
  if (missTests(lane)) return;      // likewise after the miss sequence
  const int phase = state_.TickPhase;
  if (phase % 2 == 0) moveLane(phase / 2);
  feed();
  state_.TickPhase = phase % 6 + 1;
}

bool Engine::catchOrStrike(int lane) {
  auto& s = state_;
  const auto L = static_cast<std::size_t>(lane);
  bool paused = false;
  if (lit(endOf(lane))) {
    s.PlayLive = false;
    timerGame_->setEnabled(false);
    timerHeroAnimation_->setEnabled(false);
    display_.hide(endOf(lane));
    display_.show(HeroSegments[L][kAttack]);
    display_.show(ItemGotSegments[L]);
    s.Score += 1;
    Vid_Show_Panel_Score(display_, s.Score, true);
    Gam_Set_Difficulty();
    sound_.play(Sample::Got);
    startTimer(*timerRepriseHit_, 440);
    paused = true;
  }
  if (lit(EnemySegments[L][1])) {
    s.EnemySpawnCount = 1;
    s.EnemyAge = 0;
    s.PlayLive = false;
    timerGame_->setEnabled(false);
    timerHeroAnimation_->setEnabled(false);
    display_.hide(WeaponSegments[L]);
    display_.hide(EnemySegments[L][1]);
    display_.hide(EnemySegments[L][2]);
    display_.show(HeroSegments[L][kAttack]);
    s.Score += 2;
    Vid_Show_Panel_Score(display_, s.Score, true);
    Gam_Set_Difficulty();
    sound_.play(Sample::Got);
    startTimer(*timerRepriseHit_, 440);
    paused = true;
  }
  return paused;
}

void Engine::startMiss(Timer& timer) {
  Gam_Stop_All_Timers();
  sound_.silence();
  startTimer(timer, 200);
}

bool Engine::missTests(int lane) {
  auto& s = state_;
  bool missed = false;
  // Every lane is tested; with two items missed at once the later lane's runs.
  for (int r = 1; r <= 3; ++r) {
    if (r != lane && lit(endOf(r))) {
      s.MissItemLane = r;
      s.MissItemStep = 1;
      startMiss(*timerMissItem_);
      missed = true;
    }
  }
  if (s.GameMode == kModeGameB && s.TickPhase % 2 == 1) {
    if (s.EnemyAge > 0) ++s.EnemyAge;
    if (s.EnemyAge == 4) {
      // Stops an item miss of this same tick too: only the enemy miss runs.
      s.MissEnemyStep = 1;
      startMiss(*timerMissEnemy_);
      missed = true;
    }
    if (++s.EnemySpawnCount == 6) {
      if (Random(4) == 0) {
        s.EnemyLane = 1 + Random(3);
        const auto E = static_cast<std::size_t>(s.EnemyLane);
        display_.show(EnemySegments[E][1]);
        display_.show(EnemySegments[E][2]);
        s.EnemyAge = 1;
      } else {
        s.EnemyAge = 0;
      }
      s.EnemySpawnCount = 1;
    }
  }
  return missed;
}

void Engine::moveLane(int lane) {
  if (state_.GameMode == kModeGameB && DetourSteps[static_cast<std::size_t>(lane)]) return moveLaneWithDetour(lane);
  const int n = endStep(lane);
  for (int s = n; s >= 1; --s) display_.setVisible(step(lane, s), lit(step(lane, s - 1)));
  display_.hide(im_item_0_0);
  if (lit(step(lane, n))) display_.hide(WeaponSegments[static_cast<std::size_t>(lane)]);
  if (lit(step(lane, n - 1))) sound_.play(Sample::Move);
}

// Game B: the item at the detour step may turn aside onto side a, moves on to
// side b and comes back to the detour step on the move after.
void Engine::moveLaneWithDetour(int lane) {
  const auto L = static_cast<std::size_t>(lane);
  const ElementId sideA = *ItemSideSegments[L][kSideA];
  const ElementId sideB = *ItemSideSegments[L][kSideB];
  const int detour = *DetourSteps[L];
  const int n = endStep(lane);
  for (int s = n; s >= detour + 2; --s) display_.setVisible(step(lane, s), lit(step(lane, s - 1)));
  const bool returning = lit(sideB);
  if (returning) display_.hide(sideB);
  if (lit(sideA)) {
    display_.hide(sideA);
    display_.show(sideB);
  }
  if (Random(7) < 2) {
    display_.setVisible(sideA, lit(step(lane, detour)));
    display_.hide(step(lane, detour));
  }
  for (int s = detour + 1; s >= 1; --s) display_.setVisible(step(lane, s), lit(step(lane, s - 1)));
  if (returning) display_.show(step(lane, detour));
  display_.hide(im_item_0_0);
  if (lit(step(lane, n))) display_.hide(WeaponSegments[L]);
  // In lane 1 an item that has just turned aside sounds the warning too.
  if (lit(step(lane, n - 1)) || (lane == 1 && lit(sideA))) sound_.play(Sample::Move);
}

int Engine::itemCount() const {
  int count = 0;
  for (int lane = 1; lane <= 3; ++lane) {
    for (int s = 1; s <= endStep(lane); ++s) count += lit(step(lane, s)) ? 1 : 0;
  }
  // The a pictures of both lanes count as one item between them, and so do the b pictures.
  for (const Side side : {kSideA, kSideB}) {
    bool any = false;
    for (std::size_t lane = 1; lane <= 3; ++lane) {
      if (const auto picture = ItemSideSegments[lane][side]) any = any || lit(*picture);
    }
    count += any ? 1 : 0;
  }
  return count;
}

// A lit start is taken by the next lane that moves, so the odd phases look
// at that lane (phase 1: lane 1, 3: lane 2, 5: lane 3).
void Engine::feed() {
  const auto& s = state_;
  const int phase = s.TickPhase;
  bool feeding = phase == 1 || phase == 3 || (phase == 5 && Random(3) == 0);
  if (s.GameMode == kModeGameB) {
    // An item coming back in lane 1, or turning aside in lane 3, holds the start back.
    if (phase == 1 && lit(*ItemSideSegments[1][kSideB])) feeding = false;
    if (phase == 5 && lit(*ItemSideSegments[3][kSideA])) feeding = false;
  }
  if (phase % 2 == 1) {
    const int r = (phase + 1) / 2;
    if (s.Score <= 40 && lit(step(r, 1))) feeding = false;
    if (lit(step(r, 1)) && lit(step(r, 2))) feeding = false;
  }
  const int count = itemCount();
  if (count >= s.ItemLimit) feeding = false;
  if (count == 0) feeding = true;
  if (feeding) display_.show(im_item_0_0);
}

}  // namespace mk::engine
