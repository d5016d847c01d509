#include "engine/engine.h"

#include "engine/high_scores.h"
#include "lcd/display_ops.h"
#include "lcd/segment_tables.h"

namespace mk::engine {

using namespace mk::lcd;

Engine::Engine(ElementModel& display, TimerFactory& timers, SoundPort& sound, settings::SettingsStore& store,
               LocalClock& clock, std::uint32_t seed)
    : display_(display), sound_(sound), store_(store), clock_(clock), random_(seed) {
  timerClock_ = timers.createTimer("Timer_Clock", [this] { Timer_ClockTimer(); });
  timerGame_ = timers.createTimer("Timer_Game", [this] { Timer_GameTimer(); });
  timerGameOver_ = timers.createTimer("Timer_Game_Over", [this] { Timer_Game_OverTimer(); });
  timerRepriseHit_ = timers.createTimer("Timer_Game_Reprise_Hit", [this] { Timer_Game_Reprise_HitTimer(); });
  timerGameStart_ = timers.createTimer("Timer_Game_Start", [this] { Timer_Game_StartTimer(); });
  timerHeroAnimation_ = timers.createTimer("Timer_Hero_Animation", [this] { Timer_Hero_AnimationTimer(); });
  timerMissEnemy_ = timers.createTimer("Timer_Miss_Enemy", [this] { Timer_Miss_EnemyTimer(); });
  timerMissItem_ = timers.createTimer("Timer_Miss_Item", [this] { Timer_Miss_ItemTimer(); });
}

Engine::~Engine() = default;

void Engine::seed(std::uint32_t seed) { random_.seed(seed); }

int Engine::Random(int n) {
  if (n <= 1) return 0;
  // Rejection sampling over the generator's full 32-bit range, so the same
  // seed gives the same draws with every standard library.
  const auto range = static_cast<std::uint64_t>(n);
  const std::uint64_t limit = (std::uint64_t{1} << 32) / range * range;
  std::uint64_t x = 0;
  do {
    x = random_();
  } while (x >= limit);
  return static_cast<int>(x % range);
}

void Engine::setGameMode(std::int32_t mode) {
  state_.GameMode = mode;
  reportMode();
}

void Engine::reportMode() {
  if (state_.GameMode == reportedMode_) return;
  reportedMode_ = state_.GameMode;
  if (modeObserver_) modeObserver_(reportedMode_);
}

void Engine::powerOn() {
  setGameMode(kModeAllOn);
  Gam_Set_Mode();
}

void Engine::loadHighScores() {
  for (const HighScoreSlot& slot : kHighScores)
    state_.*slot.score = settings::readInt(store_, slot.setting, state_.*slot.score);
}

void Engine::resetHighScores() {
  // Both in one write: an interruption never leaves one reset and not the other.
  std::array<settings::SettingsStore::Entry, kHighScores.size()> zeros{};
  for (std::size_t i = 0; i < kHighScores.size(); ++i) {
    state_.*kHighScores[i].score = 0;
    zeros[i] = {settings::nameOf(kHighScores[i].setting), 0};
  }
  store_.writeInts(zeros);
}

namespace {

struct ButtonOperations {
  Button button;
  void (Engine::*press)();
  void (Engine::*release)();
};

constexpr std::array<ButtonOperations, 4> kButtonOperations{{
    {Button::Time, &Engine::Inp_time_down, &Engine::Inp_time_up},
    {Button::Acl, &Engine::Inp_acl_down, &Engine::Inp_acl_up},
    {Button::Left, &Engine::Inp_left_down, &Engine::Inp_left_up},
    {Button::Right, &Engine::Inp_right_down, &Engine::Inp_right_up},
}};

const ButtonOperations* operationsOf(Button button) {
  for (const ButtonOperations& ops : kButtonOperations)
    if (ops.button == button) return &ops;
  return nullptr;
}

}  // namespace

void Engine::press(Button button) {
  if (const ButtonOperations* ops = operationsOf(button)) (this->*ops->press)();
}

void Engine::release(Button button) {
  if (const ButtonOperations* ops = operationsOf(button)) (this->*ops->release)();
}

void Engine::startTimer(Timer& timer, int intervalMs) {
  timer.setInterval(intervalMs);
  timer.setEnabled(true);
}

// ---- input ------------------------------------------------------------------

void Engine::Inp_time_down() {
  display_.show(btn_time_down);
  const auto m = state_.GameMode;
  if (m == kModeAllOn || m == kModeClock || m == kModeGameOver) {
    setGameMode(kModeAlarmView);
    Gam_Set_Mode();
  }
}

void Engine::Inp_time_up() {
  display_.hide(btn_time_down);
  if (state_.GameMode == kModeAlarmView) {
    setGameMode(kModeClock);
    Gam_Set_Mode();
  }
}

void Engine::Inp_acl_down() {
  display_.show(btn_acl_down);
  if (state_.GameMode != kModeOff) {
    setGameMode(kModeOff);
    Gam_Set_Mode();
  }
}

void Engine::Inp_acl_up() {
  display_.hide(btn_acl_down);
  if (state_.GameMode == kModeOff) {
    setGameMode(kModeAllOn);
    Gam_Set_Mode();
  }
}

void Engine::Inp_left_down() {
  display_.show(btn_left_down);
  const auto m = state_.GameMode;
  if (m == kModeClock || m == kModeGameOver) {
    state_.MoveLatch = true;
    setGameMode(kModeGameA);
    Gam_Set_Mode();
  } else if (m == kModeGameA || m == kModeGameB) {
    stepHero(-1);
  }
}

void Engine::Inp_left_up() {
  display_.hide(btn_left_down);
  state_.MoveLatch = false;
}

void Engine::Inp_right_down() {
  display_.show(btn_right_down);
  const auto m = state_.GameMode;
  if (m == kModeClock || m == kModeGameOver) {
    state_.MoveLatch = true;
    setGameMode(kModeGameB);
    Gam_Set_Mode();
  } else if (m == kModeGameA || m == kModeGameB) {
    stepHero(+1);
  }
}

void Engine::Inp_right_up() {
  display_.hide(btn_right_down);
  state_.MoveLatch = false;
}

// One lane per press: the latch holds until LEFT or RIGHT is released.
void Engine::stepHero(int direction) {
  auto& s = state_;
  if (!s.PlayLive || s.MoveLatch) return;
  const int target = s.HeroLane + direction;
  if (target < 1 || target > 3) return;
  s.MoveLatch = true;
  Vid_Show_Hero(display_, s.HeroLane, s.HeroFrame, false);
  s.HeroLane = target;
  Vid_Show_Hero(display_, s.HeroLane, s.HeroFrame, true);
}

// ---- modes ------------------------------------------------------------------

void Engine::Gam_Stop_All_Timers() {
  timerClock_->setEnabled(false);
  timerGame_->setEnabled(false);
  timerGameOver_->setEnabled(false);
  timerRepriseHit_->setEnabled(false);
  timerGameStart_->setEnabled(false);
  timerHeroAnimation_->setEnabled(false);
  timerMissEnemy_->setEnabled(false);
  timerMissItem_->setEnabled(false);
}

void Engine::Gam_Set_Mode() {
  reportMode();
  switch (state_.GameMode) {
    case kModeOff:
      Gam_Stop_All_Timers();
      Vid_Show_All(display_, false);
      sound_.silence();
      state_.PlayLive = false;
      break;
    case kModeAllOn:
      Vid_Show_All(display_, true);
      break;
    case kModeAlarmView:
      Gam_Stop_All_Timers();
      Vid_Show_All(display_, false);
      Vid_Show_All_Weapon(display_, true);
      display_.show(im_panel_time_colon);
      display_.show(im_panel_sound);
      display_.show(im_panel_time_pm);
      // The alarm time; the ALARM button is not wired, so it never changes.
      display_.setDigit(1, 1);
      display_.setDigit(2, 2);
      display_.setDigit(3, 0);
      display_.setDigit(4, 0);
      break;
    case kModeClock:
      Gam_Stop_All_Timers();
      Vid_Show_All(display_, false);
      display_.show(im_panel_time_colon);
      display_.show(im_panel_sound);
      Vid_Show_All_Weapon(display_, true);
      startTimer(*timerClock_, 1);
      break;
    case kModeGameA:
    case kModeGameB:
      startGame();
      break;
    default:
      break;
  }
}

void Engine::startGame() {
  auto& s = state_;
  Gam_Stop_All_Timers();
  Vid_Show_All(display_, false);
  display_.setVisible(im_panel_game_a, s.GameMode == kModeGameA);
  display_.setVisible(im_panel_game_b, s.GameMode == kModeGameB);
  display_.show(im_panel_sound);
  s.Score = 0;
  s.Misses = 0;
  Vid_Show_Panel_Score(display_, s.*highScoreSlotOf(s.GameMode).score, true);
  Vid_Show_All_Weapon(display_, true);
  Gam_Set_Difficulty();
  s.HeroLane = 2;
  s.HeroFrame = 3;
  Vid_Show_Hero(display_, s.HeroLane, s.HeroFrame, true);
  s.StartStep = 1;
  startTimer(*timerGameStart_, 1);
}

// ---- clock ------------------------------------------------------------------

void Engine::Timer_ClockTimer() {
  const TimeOfDay time = clock_.now();
  int hour = time.hour;
  if (hour >= 12) {
    hour -= 12;
    display_.hide(im_panel_time_am);
    display_.show(im_panel_time_pm);
  } else {
    display_.show(im_panel_time_am);
    display_.hide(im_panel_time_pm);
  }
  if (hour == 0) hour = 12;
  display_.setDigit(1, hour >= 10 ? std::optional<int>(hour / 10) : std::nullopt);
  display_.setDigit(2, hour % 10);
  display_.setDigit(3, time.minute / 10 % 10);
  display_.setDigit(4, time.minute % 10);
  timerClock_->setInterval(1000);
}

// ---- difficulty -------------------------------------------------------------

Difficulty difficultyFor(std::int32_t score) {
  const std::int32_t s = score < 0 ? 0 : score;
  const std::int32_t hundreds = s / 100;
  const std::int32_t rest = s % 100;
  const std::int32_t itemLimit = rest <= 3 ? 1 : rest <= 9 ? 2 : rest <= 19 ? 3 : rest <= 49 ? 4 : rest <= 79 ? 5 : 6;
  // Past 1,000 the step shrinks to 4 ms, so 1,100 is slower than 1,000 was.
  const std::int64_t interval = hundreds <= 10 ? 120 - 5 * std::int64_t{hundreds} : 120 - 4 * std::int64_t{hundreds};
  return {itemLimit, interval < 60 ? 60 : static_cast<int>(interval)};
}

void Engine::Gam_Set_Difficulty() {
  const Difficulty d = difficultyFor(state_.Score);
  state_.ItemLimit = d.itemLimit;
  timerGame_->setInterval(d.tickIntervalMs);
}

}  // namespace mk::engine
