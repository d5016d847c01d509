// What matters most to a player between games: a new game owes nothing to
// the one before it, three misses end a game whatever kind each was, and
// every button keeps working while the game-over panel cycles.
#include "tests/engine/engine_fixture.h"

namespace mk::engine::testing {
namespace {

class BetweenGames : public EngineTest {
 protected:
  // A game of `mode` started at `ms`, left by a game over with the given
  // score; the hero ends in lane 3, with three misses lit, mid-cycle.
  void endAGame(std::int64_t ms, Mode mode, std::int32_t score) {
    startGameAt(ms, mode);
    runTo(ms + 400);
    tapRight(ms + 400);
    runTo(ms + 500);
    ASSERT_EQ(s.HeroLane, 3);
    engine.Gam_Stop_All_Timers();  // as a miss sequence leaves them
    s.Score = score;
    s.Misses = 3;
    s.TickPhase = 4;
    s.EnemyAge = 2;
    s.EnemySpawnCount = 4;
    Vid_Show_Panel_Miss(display, 3);
    engine.Gam_Set_Difficulty();
    engine.Gam_Game_Over();
    runTo(ms + 1000);
    ASSERT_EQ(s.GameMode, kModeGameOver);
  }

  // Runs until no miss sequence is running any more.
  void finishMissSequence() {
    const std::int64_t limit = clock.now() + 5000;
    while ((engine.Timer_Miss_Item().enabled() || engine.Timer_Miss_Enemy().enabled()) && clock.now() < limit)
      runTo(clock.now() + 1);
  }

  // Lets the next tick miss an item in lane 1 or an enemy in lane 3, with the
  // hero in lane 2 and no other enemy due, then waits for the miss sequence.
  void missAt(char kind) {
    clearPlayfield();
    s.EnemySpawnCount = 1;
    s.TickPhase = 1;
    if (kind == 'I') {
      s.EnemyAge = 0;
      display.show(im_item_1_3);
    } else {
      display.show(im_enemy_3_1);
      display.show(im_enemy_3_2);
      s.EnemyLane = 3;
      s.EnemyAge = 3;
    }
    const std::int64_t limit = clock.now() + 1000;
    while (!engine.Timer_Miss_Item().enabled() && !engine.Timer_Miss_Enemy().enabled() && clock.now() < limit)
      runTo(clock.now() + 1);
    ASSERT_TRUE(kind == 'I' ? engine.Timer_Miss_Item().enabled() : engine.Timer_Miss_Enemy().enabled()) << kind;
    finishMissSequence();
  }
};

// Everything the last game left behind (score, misses and their marks, the
// hero's lane, the tempo of a high score, the tick phase, the enemy's timing)
// is gone when the next one starts, and the panel shows the chosen game's
// own high score, not the one just played.
TEST_F(BetweenGames, ANewGameStartsFromScratchWhateverTheLastOneLeft) {
  s.HiScore2 = 7;
  endAGame(1000, kModeGameA, 250);
  ASSERT_EQ(s.HiScore1, 250);
  ASSERT_EQ(engine.Timer_Game().interval(), 110);

  at(2000, [&] { engine.Inp_right_down(); });
  EXPECT_EQ(s.GameMode, kModeGameB);
  EXPECT_EQ(s.Score, 0);
  EXPECT_EQ(s.Misses, 0);
  EXPECT_FALSE(lit(im_panel_miss_1) || lit(im_panel_miss_2) || lit(im_panel_miss_3));
  EXPECT_EQ(s.HeroLane, 2);
  EXPECT_TRUE(lit(im_hero_2_body));
  EXPECT_FALSE(lit(im_hero_3_body));
  EXPECT_EQ(s.ItemLimit, 1);
  EXPECT_EQ(engine.Timer_Game().interval(), 120) << "the tempo of score 0";
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{kBlank, 0, 0, 7})) << "Game B's own high score";
  at(2050, [&] { engine.Inp_right_up(); });

  runTo(2000 + 151);
  ASSERT_TRUE(s.PlayLive);
  EXPECT_EQ(s.TickPhase, 1);
  EXPECT_EQ(s.EnemyAge, 0);
  EXPECT_EQ(s.EnemySpawnCount, 1);
  runTo(2000 + 151 + 120);
  EXPECT_TRUE(lit(im_item_0_0)) << "phase 1 feeds the first item";
}

// The third miss ends the game, never the second, be it an item's or an
// enemy's; each miss lights one more mark.
TEST_F(BetweenGames, TheThirdMissOfEitherKindEndsTheGame) {
  // 'I' an item's miss, 'E' an enemy's.
  for (const char* order : {"EEI", "IEE", "EIE", "EEE", "III"}) {
    startGameAt(clock.now() + 1000, kModeGameB);
    runTo(clock.now() + 200);
    ASSERT_TRUE(s.PlayLive);
    for (int n = 1; n <= 3; ++n) {
      missAt(order[n - 1]);
      EXPECT_EQ(s.Misses, n) << order;
      EXPECT_EQ(lit(im_panel_miss_1), n >= 1) << order;
      EXPECT_EQ(lit(im_panel_miss_2), n >= 2) << order;
      EXPECT_EQ(lit(im_panel_miss_3), n >= 3) << order;
      EXPECT_EQ(s.GameMode, n < 3 ? kModeGameB : kModeGameOver) << order << " after miss " << n;
      EXPECT_EQ(engine.Timer_Game().enabled(), n < 3) << order << " after miss " << n;
    }
    engine.Inp_acl_down();
    engine.Inp_acl_up();
  }
}

struct ButtonCase {
  const char* name;
  void (Engine::*press)();
  void (Engine::*release)();
  std::int32_t whilePressed;
  std::int32_t afterRelease;
};

// The game-over panel is no dead time: TIME shows the alarm time and then the
// clock, ACL switches off and on, LEFT and RIGHT start their game at once.
TEST_F(BetweenGames, EveryButtonWorksDuringTheGameOverDisplay) {
  const ButtonCase cases[] = {
      {"TIME", &Engine::Inp_time_down, &Engine::Inp_time_up, kModeAlarmView, kModeClock},
      {"ACL", &Engine::Inp_acl_down, &Engine::Inp_acl_up, kModeOff, kModeAllOn},
      {"LEFT", &Engine::Inp_left_down, &Engine::Inp_left_up, kModeGameA, kModeGameA},
      {"RIGHT", &Engine::Inp_right_down, &Engine::Inp_right_up, kModeGameB, kModeGameB},
  };
  std::int64_t t = 1000;
  for (const ButtonCase& c : cases) {
    endAGame(t, kModeGameA, 5);
    t = clock.now() + 100;
    at(t, [&] { (engine.*c.press)(); });
    EXPECT_EQ(s.GameMode, c.whilePressed) << c.name;
    EXPECT_FALSE(engine.Timer_Game_Over().enabled()) << c.name << " ends the game-over cycle";
    at(t + 50, [&] { (engine.*c.release)(); });
    EXPECT_EQ(s.GameMode, c.afterRelease) << c.name;
    if (c.whilePressed == kModeAlarmView) {
      runTo(t + 60);
      EXPECT_TRUE(lit(im_panel_time_colon)) << "the clock runs";
    }
    engine.Inp_acl_down();
    engine.Inp_acl_up();
    t = clock.now() + 1000;
  }
}

using Edges = EngineTest;

// Holding RIGHT or LEFT against an edge of the three lanes keeps the hero
// where he is, drawn.
TEST_F(Edges, TheHeroStopsAtBothEdgesOfTheThreeLanes) {
  startGameAt(1000, kModeGameA);
  runTo(1200);
  for (int n = 0; n < 3; ++n) tapRight(1200 + 10 * n);
  EXPECT_EQ(s.HeroLane, 3);
  EXPECT_TRUE(lit(im_hero_3_body));
  for (int n = 0; n < 4; ++n) tapLeft(1300 + 10 * n);
  EXPECT_EQ(s.HeroLane, 1);
  EXPECT_TRUE(lit(im_hero_1_body));
  EXPECT_FALSE(lit(im_hero_2_body) || lit(im_hero_3_body));
}

}  // namespace
}  // namespace mk::engine::testing

namespace mk::engine::testing {
namespace {

// A store that notes each write it is given.
class CountingStore final : public settings::MemorySettingsStore {
 public:
  void writeInts(std::span<const Entry> entries) override {
    batches.emplace_back(entries.begin(), entries.end());
    MemorySettingsStore::writeInts(entries);
  }
  std::vector<std::vector<Entry>> batches;
};

// Resetting the high scores is one write of both, so an interruption never
// leaves one reset and the other not.
TEST(HighScores, AResetWritesBothScoresAtOnce) {
  VirtualClock clock;
  ElementModel display;
  RecordingSound sound{clock};
  CountingStore store;
  FixedLocalClock local;
  store.setText("HiScore1", "40");
  store.setText("HiScore2", "7");
  Engine engine{display, clock, sound, store, local, 1};
  engine.loadHighScores();
  engine.resetHighScores();
  ASSERT_EQ(store.batches.size(), 1u);
  EXPECT_EQ(store.batches[0], (std::vector<settings::SettingsStore::Entry>{{"HiScore1", 0}, {"HiScore2", 0}}));
  EXPECT_EQ(engine.state().HiScore1, 0);
  EXPECT_EQ(engine.state().HiScore2, 0);
}

}  // namespace
}  // namespace mk::engine::testing
