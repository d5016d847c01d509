// The timed sequences between game ticks: start, hero legs, the pause after a
// catch or strike, the two miss blinks and the game-over panel cycle. Each is
// a timer plus a step counter; the last step disables its timer and hands over.
#include "engine/engine.h"
#include "engine/high_scores.h"
#include "lcd/display_ops.h"
#include "lcd/segment_tables.h"

namespace mk::engine {

using namespace mk::lcd;

namespace {

constexpr int kBlinkMs = 290;
constexpr int kHeroAnimationMs = 250;
constexpr int kGameOverTicks = 133;

}  // namespace

void Engine::resumePlay() {
  timerGame_->setEnabled(true);
  startTimer(*timerHeroAnimation_, kHeroAnimationMs);
}

void Engine::Timer_Game_StartTimer() {
  auto& s = state_;
  switch (s.StartStep) {
    case 1:
      sound_.play(Sample::Start);
      timerGameStart_->setInterval(150);
      break;
    case 2:
      s.EnemySpawnCount = 1;
      s.EnemyAge = 0;
      s.TickPhase = 1;
      resumePlay();
      s.PlayLive = true;
      timerGameStart_->setInterval(900);
      break;
    case 3:
      Vid_Show_Panel_Score(display_, s.Score, true);
      timerGameStart_->setEnabled(false);
      break;
    default:
      break;
  }
  ++s.StartStep;
}

void Engine::Timer_Hero_AnimationTimer() {
  auto& s = state_;
  if (++s.HeroFrame == 4) s.HeroFrame = 2;
  Vid_Show_Hero(display_, s.HeroLane, s.HeroFrame, true);
}

void Engine::Timer_Game_Reprise_HitTimer() {
  auto& s = state_;
  const auto L = static_cast<std::size_t>(s.HeroLane);
  display_.hide(HeroSegments[L][kAttack]);
  display_.hide(ItemGotSegments[L]);
  display_.show(WeaponSegments[L]);
  s.PlayLive = true;
  Gam_Set_Difficulty();
  resumePlay();
  timerRepriseHit_->setEnabled(false);
}

void Engine::Timer_Miss_ItemTimer() {
  auto& s = state_;
  const int step = s.MissItemStep;
  const auto lane = static_cast<std::size_t>(s.MissItemLane);
  if (step >= 1 && step <= 7) {
    display_.setVisible(*ItemSegments[lane][static_cast<std::size_t>(endStep(s.MissItemLane))], step % 2 == 0);
    sound_.play(Sample::Move);
  }
  if (step == 1) timerMissItem_->setInterval(kBlinkMs);
  if (step == 7) {
    ++s.Misses;
    Vid_Show_Panel_Miss(display_, s.Misses);
  }
  if (step == 8) {
    display_.show(WeaponSegments[lane]);
    if (s.Misses < 3) {
      Gam_Game_Reprise_After_Miss();
    } else {
      Gam_Game_Over();
    }
    timerMissItem_->setEnabled(false);
  }
  ++s.MissItemStep;
}

void Engine::Timer_Miss_EnemyTimer() {
  auto& s = state_;
  const int step = s.MissEnemyStep;
  const auto lane = static_cast<std::size_t>(s.EnemyLane);
  if (step >= 1 && step <= 7) {
    display_.setVisible(EnemySegments[lane][2], step % 2 == 0);
    display_.setVisible(EnemySegments[lane][3], step % 2 == 1);
    sound_.play(Sample::Move);
  }
  if (step == 1) timerMissEnemy_->setInterval(kBlinkMs);
  if (step == 7) {
    ++s.Misses;
    Vid_Show_Panel_Miss(display_, s.Misses);
  }
  if (step == 8) {
    Vid_Show_All_Enemy(display_, false);
    if (s.Misses < 3) {
      Gam_Game_Reprise_After_Miss();
    } else {
      Gam_Game_Over();
    }
    timerMissEnemy_->setEnabled(false);
  }
  ++s.MissEnemyStep;
}

void Engine::Gam_Game_Reprise_After_Miss() {
  state_.EnemySpawnCount = 0;
  state_.EnemyAge = 0;
  Gam_Set_Difficulty();
  resumePlay();
}

void Engine::Gam_Game_Over() {
  auto& s = state_;
  s.PlayLive = false;
  for (const HighScoreSlot& slot : kHighScores) {
    if (s.GameMode == slot.game && beatsHighScore(s.Score, s.*slot.score)) {
      s.*slot.score = s.Score;
      settings::writeInt(store_, slot.setting, s.Score);
    }
  }
  s.ShownHiScore = s.*highScoreSlotOf(s.GameMode).score;
  s.GameOverStep = 1;
  s.GameOverTicks = 1;
  startTimer(*timerGameOver_, 1);
  setGameMode(kModeGameOver);
}

// Blank, high score, blank, score (100, 350, 100, 350 ms), then the clock.
void Engine::Timer_Game_OverTimer() {
  auto& s = state_;
  switch (s.GameOverStep) {
    case 1:
    case 3:
      Vid_Show_Panel_Score(display_, 0, false);
      timerGameOver_->setInterval(100);
      break;
    case 2:
      Vid_Show_Panel_Score(display_, s.ShownHiScore, true);
      timerGameOver_->setInterval(350);
      break;
    case 4:
      Vid_Show_Panel_Score(display_, s.Score, true);
      timerGameOver_->setInterval(350);
      break;
    default:
      break;
  }
  s.GameOverStep = s.GameOverStep % 4 + 1;
  if (++s.GameOverTicks == kGameOverTicks) {
    setGameMode(kModeClock);
    Gam_Set_Mode();
    timerGameOver_->setEnabled(false);
  }
}

}  // namespace mk::engine
