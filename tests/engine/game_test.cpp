#include "tests/engine/engine_fixture.h"

namespace mk::engine::testing {
namespace {

// A Game A chosen at 1,000 ms: start step 1 at 1,001, play live at 1,151,
// tick k at 1,151 + 120 k.
constexpr std::int64_t kPress = 1000;
constexpr std::int64_t tick(int k) { return kPress + 151 + 120 * k; }

using GameWalkThrough = EngineTest;

// One item travels lane 1 on a new Game A; nothing else is fed meanwhile.
TEST_F(GameWalkThrough, NewGameAFeedsOneItemDownLaneOneToTheMillisecond) {
  s.HiScore1 = 57;
  startGameAt(kPress, kModeGameA);
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{kBlank, 0, 5, 7})) << "the high score first";
  EXPECT_TRUE(lit(im_panel_game_a));
  EXPECT_FALSE(lit(im_panel_game_b));
  EXPECT_TRUE(lit(im_hero_2_body) && lit(im_hero_2_leg_2));
  EXPECT_EQ(engine.Timer_Game().interval(), 120);
  EXPECT_EQ(s.ItemLimit, 1);

  runTo(tick(15) - 1);
  EXPECT_EQ(sound.events.front(), (SoundEvent{kPress + 1, "Start"}));
  EXPECT_EQ(log.first(im_item_0_0, true, kPress), tick(1));
  EXPECT_EQ(log.first(im_item_1_1, true, kPress), tick(2));
  EXPECT_EQ(log.first(im_item_0_0, false, kPress), tick(2));
  EXPECT_EQ(log.first(im_item_1_2, true, kPress), tick(8));
  EXPECT_EQ(log.first(im_item_1_3, true, kPress), tick(14));
  EXPECT_EQ(log.first(im_weapon_1, false, kPress + 1), tick(14));
  EXPECT_EQ(sound.count("Move"), 1);
  EXPECT_EQ(sound.events.back(), (SoundEvent{tick(8), "Move"}));
  EXPECT_EQ(log.first(im_item_0_0, true, tick(2)), -1) << "no second item with ItemLimit 1";
  EXPECT_EQ(log.first(im_hero_2_leg_1, true, kPress), kPress + 151 + 250) << "the legs change every 250 ms";
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{kBlank, 0, 0, 0})) << "the score from 1,051 ms on";
  EXPECT_EQ(log.first(im_panel_digit_pos_1, true, kPress), -1);
}

TEST_F(GameWalkThrough, TheFifteenthTickCatchesTheItemWhenTheHeroStandsInLaneOne) {
  startGameAt(kPress, kModeGameA);
  tapLeft(tick(5));
  runTo(tick(15));
  EXPECT_EQ(s.Score, 1);
  EXPECT_FALSE(lit(im_item_1_3));
  EXPECT_TRUE(lit(im_hero_1_attack));
  EXPECT_TRUE(lit(im_item_got_1));
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{kBlank, 0, 0, 1}));
  EXPECT_EQ(sound.events.back(), (SoundEvent{tick(15), "Got"}));
  EXPECT_FALSE(s.PlayLive);
  EXPECT_EQ(s.TickPhase, 3) << "the catch tick keeps its phase";

  // The pause ends 440 ms later; then the same phase 3 runs again (it feeds),
  // and phase 4 moves the start into lane 2.
  runTo(tick(15) + 439);
  EXPECT_TRUE(lit(im_hero_1_attack));
  runTo(tick(15) + 440);
  EXPECT_FALSE(lit(im_hero_1_attack));
  EXPECT_FALSE(lit(im_item_got_1));
  EXPECT_TRUE(lit(im_weapon_1));
  EXPECT_TRUE(s.PlayLive);
  runTo(tick(15) + 440 + 120);
  EXPECT_TRUE(lit(im_item_0_0));
  runTo(tick(15) + 440 + 240);
  EXPECT_TRUE(lit(im_item_2_1));
}

TEST_F(GameWalkThrough, TheFifteenthTickMissesTheItemWhenTheHeroStayedInLaneTwo) {
  startGameAt(kPress, kModeGameA);
  const std::int64_t miss = tick(15);
  runTo(miss);
  EXPECT_EQ(sound.events.back(), (SoundEvent{miss, "silence"}));
  EXPECT_EQ(s.MissItemLane, 1);
  EXPECT_TRUE(lit(im_item_1_3));
  EXPECT_TRUE(s.PlayLive) << "a miss never stops the hero";

  runTo(miss + 1939);
  EXPECT_FALSE(lit(im_panel_miss_1));
  runTo(miss + 1940);
  EXPECT_TRUE(lit(im_panel_miss_1));
  EXPECT_FALSE(lit(im_item_1_3)) << "the blinking item ends dark";
  EXPECT_EQ(s.Misses, 1);
  EXPECT_FALSE(lit(im_weapon_1));
  runTo(miss + 2230);
  EXPECT_TRUE(lit(im_weapon_1));
  EXPECT_TRUE(engine.Timer_Game().enabled());

  // Seven blink sounds: the first 200 ms after the miss, then every 290 ms.
  std::vector<std::int64_t> blinks;
  for (const auto& e : sound.events) {
    if (e.what == "Move" && e.ms > miss) blinks.push_back(e.ms - miss);
  }
  EXPECT_EQ(blinks, (std::vector<std::int64_t>{200, 490, 780, 1070, 1360, 1650, 1940}));
  std::vector<std::int64_t> item;
  for (const auto& c : log.changes) {
    if (c.id == im_item_1_3 && c.ms > miss) item.push_back(c.visible ? c.ms - miss : -(c.ms - miss));
  }
  EXPECT_EQ(item, (std::vector<std::int64_t>{-200, 490, -780, 1070, -1360, 1650, -1940}));

  // The interrupted phase 3 runs again 120 ms after play resumes.
  runTo(miss + 2230 + 120);
  EXPECT_TRUE(lit(im_item_0_0));
  runTo(miss + 2230 + 240);
  EXPECT_TRUE(lit(im_item_2_1));
}

// ---- Game B: enemies and detours --------------------------------------------

using GameB = EngineTest;

TEST_F(GameB, ACatchAndAStrikeInOneTickScoreThreeWithTwoCatchSounds) {
  startGameAt(kPress, kModeGameB);
  tapLeft(tick(0) + 10);
  clearPlayfield();
  display.show(im_item_1_3);
  display.show(im_enemy_1_1);
  display.show(im_enemy_1_2);
  runTo(tick(1));
  EXPECT_EQ(s.Score, 3);
  EXPECT_EQ(sound.count("Got"), 2);
  EXPECT_FALSE(lit(im_enemy_1_1) || lit(im_enemy_1_2) || lit(im_weapon_1) || lit(im_item_1_3));
  EXPECT_TRUE(lit(im_hero_1_attack));
  EXPECT_EQ(s.TickPhase, 1);
  EXPECT_EQ(s.EnemySpawnCount, 1);
  runTo(tick(1) + 440);
  EXPECT_TRUE(lit(im_weapon_1));
}

TEST_F(GameB, AnEnemyNotStruckByTheThirdOddPhaseIsMissedAndBlinks) {
  startGameAt(kPress, kModeGameB);
  runTo(tick(0));  // the start resets the enemy count
  clearPlayfield();
  display.show(im_enemy_3_1);
  display.show(im_enemy_3_2);
  s.EnemyLane = 3;
  s.EnemyAge = 1;  // as if it appeared just now
  const std::int64_t miss = tick(5);  // phases 1, 3, 5: ages 2, 3, 4
  runTo(miss - 1);
  EXPECT_FALSE(engine.Timer_Miss_Enemy().enabled());
  runTo(miss);
  EXPECT_TRUE(engine.Timer_Miss_Enemy().enabled());
  EXPECT_EQ(sound.events.back(), (SoundEvent{miss, "silence"}));
  runTo(miss + 200);
  EXPECT_FALSE(lit(im_enemy_3_2));
  EXPECT_TRUE(lit(im_enemy_3_3));
  EXPECT_TRUE(lit(im_enemy_3_1));
  runTo(miss + 490);
  EXPECT_TRUE(lit(im_enemy_3_2));
  EXPECT_FALSE(lit(im_enemy_3_3));
  runTo(miss + 1940);
  EXPECT_TRUE(lit(im_panel_miss_1));
  runTo(miss + 2230);
  for (std::size_t stage = 1; stage <= 3; ++stage) EXPECT_FALSE(lit(EnemySegments[3][stage]));
  EXPECT_EQ(s.EnemyAge, 0);
  EXPECT_EQ(s.EnemySpawnCount, 0);
  EXPECT_TRUE(engine.Timer_Game().enabled());
}

TEST_F(GameB, AnEnemyMissInTheSameTickAsAnItemMissIsTheOneThatRuns) {
  startGameAt(kPress, kModeGameB);
  runTo(tick(0));
  clearPlayfield();
  display.show(im_enemy_1_1);
  display.show(im_enemy_1_2);
  s.EnemyLane = 1;
  s.EnemyAge = 3;
  runTo(tick(1) - 1);
  display.show(im_item_3_5);
  runTo(tick(1));
  EXPECT_FALSE(engine.Timer_Miss_Item().enabled());
  EXPECT_TRUE(engine.Timer_Miss_Enemy().enabled());
  EXPECT_EQ(sound.count("silence"), 2);
  EXPECT_EQ(s.TickPhase, 1);
}

// Direct ticks on a prepared field: Game B, phase and limits set by hand.
class Tick : public EngineTest {
 protected:
  void prepare(Mode mode, int phase, std::int32_t score) {
    startGameAt(kPress, mode);
    runTo(tick(0));
    engine.Gam_Stop_All_Timers();
    clearPlayfield();
    s.TickPhase = phase;
    s.Score = score;
    engine.Gam_Set_Difficulty();
    s.EnemySpawnCount = 1;
  }
};

TEST_F(Tick, AnItemOnADetourGoesAsideThenBackToTheStepItLeft) {
  prepare(kModeGameB, 2, 0);
  display.show(im_item_1_1a);
  engine.Timer_GameTimer();  // lane 1 moves
  EXPECT_FALSE(lit(im_item_1_1a));
  EXPECT_TRUE(lit(im_item_1_1b));
  s.TickPhase = 2;
  engine.Timer_GameTimer();
  EXPECT_FALSE(lit(im_item_1_1b));
  EXPECT_TRUE(lit(im_item_1_1));

  prepare(kModeGameB, 6, 0);
  display.show(im_item_3_2a);
  engine.Timer_GameTimer();  // lane 3 moves
  EXPECT_TRUE(lit(im_item_3_2b));
  s.TickPhase = 6;
  engine.Timer_GameTimer();
  EXPECT_TRUE(lit(im_item_3_2));
  EXPECT_FALSE(lit(im_item_3_2b));
}

TEST_F(Tick, SidePicturesCountAsOneItemPerPairTowardsTheLimit) {
  prepare(kModeGameB, 3, 4);  // ItemLimit 2
  ASSERT_EQ(s.ItemLimit, 2);
  display.show(im_item_1_1a);
  display.show(im_item_3_2a);
  engine.Timer_GameTimer();
  EXPECT_TRUE(lit(im_item_0_0)) << "two a pictures are one item";

  prepare(kModeGameB, 3, 4);
  display.show(im_item_1_1a);
  display.show(im_item_3_2b);
  engine.Timer_GameTimer();
  EXPECT_FALSE(lit(im_item_0_0)) << "an a and a b picture are two";
}

TEST_F(Tick, FeedingIntoALaneWithItsFirstStepLitWaitsUntilTheScorePassesForty) {
  prepare(kModeGameA, 3, 40);
  display.show(im_item_2_1);
  engine.Timer_GameTimer();
  EXPECT_FALSE(lit(im_item_0_0));

  prepare(kModeGameA, 3, 41);
  display.show(im_item_2_1);
  engine.Timer_GameTimer();
  EXPECT_TRUE(lit(im_item_0_0));

  prepare(kModeGameA, 3, 41);
  display.show(im_item_2_1);
  display.show(im_item_2_2);
  engine.Timer_GameTimer();
  EXPECT_FALSE(lit(im_item_0_0)) << "never with steps 1 and 2 both lit";
}

// ---- game over and high scores ------------------------------------------------

using GameOver = EngineTest;

TEST_F(GameOver, TheThirdMissBlinksFullyThenThePanelCyclesUntilTheClock29351MsLater) {
  startGameAt(kPress, kModeGameA);
  std::int64_t over = -1;
  engine.setModeObserver([&](std::int32_t mode) {
    if (mode == kModeGameOver) over = clock.now();
  });
  while (over < 0 && clock.now() < 200000) runTo(clock.now() + 1);
  ASSERT_GT(over, 0);
  EXPECT_EQ(s.Misses, 3);
  EXPECT_EQ(log.first(im_panel_miss_3, true, kPress), over - 290);
  EXPECT_FALSE(s.PlayLive);

  runTo(over + 1);
  EXPECT_EQ(digits()[1], kBlank);
  runTo(over + 101);
  EXPECT_EQ(s.ShownHiScore, s.HiScore1);
  runTo(over + 29350);
  EXPECT_EQ(s.GameMode, kModeGameOver);
  runTo(over + 29351);
  EXPECT_EQ(s.GameMode, kModeClock);
  EXPECT_FALSE(engine.Timer_Game_Over().enabled());
  runTo(over + 29352);
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{1, 2, 0, 0}));
}

TEST_F(GameOver, APanelCycleOfBlankHighScoreBlankScore) {
  startGameAt(kPress, kModeGameA);
  engine.Gam_Stop_All_Timers();
  s.Score = 1234;
  s.HiScore1 = 1500;
  const std::int64_t over = clock.now();
  engine.Gam_Game_Over();
  EXPECT_EQ(s.GameMode, kModeGameOver);
  runTo(over + 1);
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{kBlank, kBlank, kBlank, kBlank}));
  runTo(over + 101);
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{1, 5, 0, 0}));
  runTo(over + 451);
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{1, kBlank, kBlank, kBlank})) << "the leading 1 stays";
  runTo(over + 551);
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{1, 2, 3, 4}));
  runTo(over + 901);
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{1, kBlank, kBlank, kBlank}));
}

struct HighScoreCase {
  Mode mode;
  std::int32_t score, hi1, hi2;
  std::int32_t wantHi1, wantHi2, wantShown;
  std::vector<std::pair<std::string, std::string>> stored;
};

TEST_F(GameOver, HighScoresAreStoredOnlyWhenStrictlyBeatenAndOnlyForTheirOwnGame) {
  const HighScoreCase cases[] = {
      {kModeGameA, 12, 10, 99, 12, 99, 12, {{"HiScore1", "12"}}},
      {kModeGameA, 10, 10, 0, 10, 0, 10, {}},
      {kModeGameA, 3, 10, 0, 10, 0, 10, {}},
      {kModeGameB, 30, 50, 5, 50, 30, 30, {{"HiScore2", "30"}}},
      {kModeGameB, 5, 0, 5, 0, 5, 5, {}},
  };
  for (const auto& c : cases) {
    settings::MemorySettingsStore fresh;
    store = fresh;
    s.GameMode = c.mode;
    s.Score = c.score;
    s.HiScore1 = c.hi1;
    s.HiScore2 = c.hi2;
    engine.Gam_Game_Over();
    EXPECT_EQ(s.HiScore1, c.wantHi1);
    EXPECT_EQ(s.HiScore2, c.wantHi2);
    EXPECT_EQ(s.ShownHiScore, c.wantShown);
    std::vector<std::pair<std::string, std::string>> stored(store.values().begin(), store.values().end());
    EXPECT_EQ(stored, c.stored) << c.score;
    engine.Gam_Stop_All_Timers();
  }
}

}  // namespace
}  // namespace mk::engine::testing
