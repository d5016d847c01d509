#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <random>

#include "engine/buttons.h"
#include "engine/ports.h"
#include "lcd/element_model.h"
#include "settings/settings_store.h"

namespace mk::engine {

// The handheld's single state code.
enum Mode : std::int32_t {
  kModeOff = 0,        // ACL held: everything dark
  kModeAllOn = 1,      // every segment lit
  kModeAlarmView = 2,  // TIME held: the alarm time 12:00 PM
  kModeClock = 3,
  kModeGameA = 5,
  kModeGameB = 7,
  kModeGameOver = 8,
};

// Every game-state variable of the handheld; all start at zero (flags false).
struct GameState {
  std::int32_t GameMode = 0;
  std::int32_t Score = 0;
  std::int32_t HiScore1 = 0;
  std::int32_t HiScore2 = 0;
  std::int32_t HeroLane = 0;
  std::int32_t HeroFrame = 0;
  std::int32_t Misses = 0;
  std::int32_t ItemLimit = 0;
  std::int32_t TickPhase = 0;
  std::int32_t EnemySpawnCount = 0;
  std::int32_t EnemyAge = 0;
  std::int32_t EnemyLane = 0;
  std::int32_t StartStep = 0;
  std::int32_t MissItemStep = 0;
  std::int32_t MissItemLane = 0;
  std::int32_t MissEnemyStep = 0;
  std::int32_t GameOverStep = 0;
  std::int32_t GameOverTicks = 0;
  std::int32_t ShownHiScore = 0;
  bool PlayLive = false;
  bool MoveLatch = false;
};

// The tempo of a score: items allowed at once and the game tick's interval.
struct Difficulty {
  std::int32_t itemLimit;
  int tickIntervalMs;
};
// Pure: a negative score counts as 0.
Difficulty difficultyFor(std::int32_t score);

namespace testing {
struct EngineProbe;  // the tests' way to set up a state directly
}

// The game engine of the handheld: modes, game tick, timed sequences,
// difficulty, score and clock. It sees the world only through the element
// model, its eight timers, the sound port, the settings store and the clock,
// so it runs the same under a window and under the virtual clock. Its state
// changes only through the operations below.
class Engine {
 public:
  Engine(lcd::ElementModel& display, TimerFactory& timers, SoundPort& sound,
         settings::SettingsStore& store, LocalClock& clock, std::uint32_t seed);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  const GameState& state() const { return state_; }

  // Play begins: every segment lit (GameMode 1).
  void powerOn();
  // The two high scores from the store, each with the one held as default.
  void loadHighScores();
  // Both high scores to 0, in memory and in the store.
  void resetHighScores();

  // The one way in for the buttons, from mouse, keys and scripts alike: the
  // press or release operation of the button.
  void press(Button button);
  void release(Button button);

  // The eight button operations: press and release of TIME, ACL, LEFT, RIGHT.
  void Inp_time_down();
  void Inp_time_up();
  void Inp_acl_down();
  void Inp_acl_up();
  void Inp_left_down();
  void Inp_left_up();
  void Inp_right_down();
  void Inp_right_up();

  void Gam_Set_Mode();
  void Gam_Stop_All_Timers();
  void Gam_Set_Difficulty();
  void Gam_Game_Reprise_After_Miss();
  void Gam_Game_Over();

  // Timer handlers.
  void Timer_ClockTimer();
  void Timer_GameTimer();
  void Timer_Game_OverTimer();
  void Timer_Game_Reprise_HitTimer();
  void Timer_Game_StartTimer();
  void Timer_Hero_AnimationTimer();
  void Timer_Miss_EnemyTimer();
  void Timer_Miss_ItemTimer();

  // A uniform integer in 0..n-1 from the one seeded generator.
  int Random(int n);
  void seed(std::uint32_t seed);

  // The eight timers, in the roster's order.
  Timer& Timer_Clock() { return *timerClock_; }
  Timer& Timer_Game() { return *timerGame_; }
  Timer& Timer_Game_Over() { return *timerGameOver_; }
  Timer& Timer_Game_Reprise_Hit() { return *timerRepriseHit_; }
  Timer& Timer_Game_Start() { return *timerGameStart_; }
  Timer& Timer_Hero_Animation() { return *timerHeroAnimation_; }
  Timer& Timer_Miss_Enemy() { return *timerMissEnemy_; }
  Timer& Timer_Miss_Item() { return *timerMissItem_; }

  lcd::ElementModel& display() { return display_; }

  // Told each time `GameMode` takes a new value, before the new mode is drawn.
  void setModeObserver(std::function<void(std::int32_t)> observer) { modeObserver_ = std::move(observer); }

 private:
  friend struct testing::EngineProbe;

  void setGameMode(std::int32_t mode);
  void reportMode();
  bool lit(lcd::ElementId id) const { return display_.isVisible(id); }
  void stepHero(int direction);
  void startGame();
  void startTimer(Timer& timer, int intervalMs);
  void resumePlay();
  void startMiss(Timer& timer);

  // The game tick's parts.
  bool catchOrStrike(int lane);
  bool missTests(int lane);
  void moveLane(int lane);
  void moveLaneWithDetour(int lane);
  void feed();
  int itemCount() const;

  GameState state_;
  lcd::ElementModel& display_;
  SoundPort& sound_;
  settings::SettingsStore& store_;
  LocalClock& clock_;
  std::mt19937 random_;
  std::function<void(std::int32_t)> modeObserver_;
  std::int32_t reportedMode_ = 0;

  std::unique_ptr<Timer> timerClock_;
  std::unique_ptr<Timer> timerGame_;
  std::unique_ptr<Timer> timerGameOver_;
  std::unique_ptr<Timer> timerRepriseHit_;
  std::unique_ptr<Timer> timerGameStart_;
  std::unique_ptr<Timer> timerHeroAnimation_;
  std::unique_ptr<Timer> timerMissEnemy_;
  std::unique_ptr<Timer> timerMissItem_;
};

}  // namespace mk::engine
