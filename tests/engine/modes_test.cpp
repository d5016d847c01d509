#include "tests/engine/engine_fixture.h"

namespace mk::engine::testing {
namespace {

using Modes = EngineTest;

TEST_F(Modes, AclSwitchesEverythingOffAndSilencesAndItsReleaseShowsAllSegments) {
  startGameAt(1000, kModeGameA);
  runTo(1500);
  ASSERT_TRUE(s.PlayLive);
  at(1500, [&] { engine.Inp_acl_down(); });
  EXPECT_EQ(s.GameMode, kModeOff);
  EXPECT_FALSE(s.PlayLive);
  EXPECT_TRUE(lit(btn_acl_down));
  EXPECT_EQ(sound.events.back(), (SoundEvent{1500, "silence"}));
  EXPECT_FALSE(lit(im_hero_2_body));
  EXPECT_FALSE(lit(im_panel_sound));
  EXPECT_EQ(clock.nextDue(), std::nullopt) << "every timer stopped";

  at(1600, [&] { engine.Inp_acl_up(); });
  EXPECT_EQ(s.GameMode, kModeAllOn);
  EXPECT_FALSE(lit(btn_acl_down));
  EXPECT_TRUE(lit(im_hero_2_body));
  EXPECT_TRUE(lit(im_panel_time_am));
  EXPECT_EQ(digits(), (std::vector<std::optional<int>>{1, 2, 0, 0}));
  EXPECT_TRUE(store.values().empty()) << "an abandoned game stores no high score";
}

struct ClockRow {
  TimeOfDay time;
  std::vector<std::optional<int>> shown;
  bool pm;
};

TEST_F(Modes, ClockShowsTwelveHourTimeWithAmOrPmRefreshedEverySecond) {
  toClockAt(0);
  const ClockRow rows[] = {
      {{0, 0}, {1, 2, 0, 0}, false},     {{0, 59}, {1, 2, 5, 9}, false}, {{9, 5}, {kBlank, 9, 0, 5}, false},
      {{12, 0}, {1, 2, 0, 0}, true},     {{12, 59}, {1, 2, 5, 9}, true}, {{13, 7}, {kBlank, 1, 0, 7}, true},
      {{23, 59}, {1, 1, 5, 9}, true},    {{10, 30}, {1, 0, 3, 0}, false},
  };
  std::int64_t t = 1;  // first drawing 1 ms after the mode began, then each second
  for (const auto& row : rows) {
    localClock.time = row.time;
    runTo(t);
    EXPECT_EQ(digits(), row.shown) << row.time.hour << ":" << row.time.minute;
    EXPECT_EQ(lit(im_panel_time_pm), row.pm);
    EXPECT_EQ(lit(im_panel_time_am), !row.pm);
    EXPECT_TRUE(lit(im_panel_time_colon));
    localClock.time = {3, 33};
    runTo(t + 999);
    EXPECT_EQ(digits(), row.shown) << "not redrawn before the second is up";
    t += 1000;
  }
}

TEST_F(Modes, LeftDuringTheGameOverDisplayStartsANewGameAAtOnce) {
  startGameAt(1000, kModeGameB);
  runTo(2000);
  s.Score = 4;
  engine.Gam_Stop_All_Timers();  // as the miss sequence leaves them
  engine.Gam_Game_Over();
  runTo(3000);
  ASSERT_EQ(s.GameMode, kModeGameOver);
  at(3000, [&] { engine.Inp_left_down(); });
  EXPECT_EQ(s.GameMode, kModeGameA);
  EXPECT_TRUE(lit(im_panel_game_a));
  EXPECT_FALSE(lit(im_panel_game_b));
  EXPECT_EQ(s.Score, 0);
  EXPECT_EQ(s.HiScore2, 4);
  EXPECT_FALSE(engine.Timer_Game_Over().enabled());
  runTo(3001);
  EXPECT_EQ(sound.events.back(), (SoundEvent{3001, "Start"}));
}

// ---- hero movement ----------------------------------------------------------

using HeroMovement = EngineTest;

TEST_F(HeroMovement, OnePressMovesOneLaneAndAReleaseOfTheOtherButtonFreesTheLatch) {
  startGameAt(1000, kModeGameA);
  tapRight(1200);
  ASSERT_EQ(s.HeroLane, 3);
  at(1250, [&] { engine.Inp_left_down(); });
  EXPECT_EQ(s.HeroLane, 2);
  for (int t = 1280; t < 1400; t += 30) at(t, [&] { engine.Inp_left_down(); });  // auto-repeat
  EXPECT_EQ(s.HeroLane, 2);
  // RIGHT released while LEFT is still held: the next repeated LEFT moves again.
  at(1400, [&] { engine.Inp_right_up(); });
  at(1430, [&] { engine.Inp_left_down(); });
  EXPECT_EQ(s.HeroLane, 1);
  EXPECT_TRUE(lit(im_hero_1_body));
  EXPECT_FALSE(lit(im_hero_2_body));
  EXPECT_FALSE(lit(im_hero_3_body));
}

TEST_F(HeroMovement, ThePressThatStartsAGameMovesNothingWhileHeld) {
  toClockAt(0);
  at(1000, [&] { engine.Inp_left_down(); });
  for (int t = 1030; t < 1400; t += 30) at(t, [&] { engine.Inp_left_down(); });
  EXPECT_EQ(s.HeroLane, 2) << "held into the game";
  at(1400, [&] { engine.Inp_left_up(); });
  tapRight(1402);
  EXPECT_EQ(s.HeroLane, 3);
}

TEST_F(HeroMovement, NothingMovesBeforePlayIsLive) {
  startGameAt(1000, kModeGameA);
  tapLeft(1100);  // play is live at 1151
  EXPECT_EQ(s.HeroLane, 2);
  tapLeft(1151);  // input comes before the start step due in the same millisecond
  EXPECT_EQ(s.HeroLane, 2);
  tapLeft(1153);
  EXPECT_EQ(s.HeroLane, 1);
}

TEST_F(HeroMovement, APressDuringTheCatchPauseIsLostButTheNextRepeatAfterItMoves) {
  startGameAt(1000, kModeGameA);
  clearPlayfield();
  runTo(1300);
  display.show(im_item_2_4);  // caught at the next tick, 1391
  runTo(1391);
  ASSERT_EQ(s.Score, 1);
  ASSERT_FALSE(s.PlayLive);
  at(1500, [&] { engine.Inp_left_down(); });
  EXPECT_EQ(s.HeroLane, 2);
  EXPECT_FALSE(s.MoveLatch) << "a lost press leaves the latch clear";
  runTo(1831);  // the pause ends 440 ms after the catch
  EXPECT_TRUE(s.PlayLive);
  at(1850, [&] { engine.Inp_left_down(); });  // the held key repeats
  EXPECT_EQ(s.HeroLane, 1);
}

TEST_F(HeroMovement, TheHeroMovesDuringAMissSequence) {
  startGameAt(1000, kModeGameA);
  clearPlayfield();
  runTo(1300);
  display.show(im_item_1_3);  // missed at 1391 with the hero in lane 2
  runTo(1391);
  ASSERT_TRUE(engine.Timer_Miss_Item().enabled());
  tapRight(1700);
  EXPECT_EQ(s.HeroLane, 3);
}

// ---- the timer roster -------------------------------------------------------

class RecordingFactory final : public TimerFactory {
 public:
  class Recorded final : public Timer {
   public:
    Recorded(std::string name, std::unique_ptr<Timer> inner, std::vector<std::string>& log)
        : name_(std::move(name)), inner_(std::move(inner)), log_(log) {}
    void setInterval(int ms) override { inner_->setInterval(ms); }
    int interval() const override { return inner_->interval(); }
    void setEnabled(bool on) override {
      if (!on) log_.push_back(name_);
      inner_->setEnabled(on);
    }
    bool enabled() const override { return inner_->enabled(); }

   private:
    std::string name_;
    std::unique_ptr<Timer> inner_;
    std::vector<std::string>& log_;
  };
  std::unique_ptr<Timer> createTimer(std::string_view name, std::function<void()> handler) override {
    names.emplace_back(name);
    return std::make_unique<Recorded>(std::string(name), clock.createTimer(name, std::move(handler)), disabled);
  }
  VirtualClock clock;
  std::vector<std::string> names;
  std::vector<std::string> disabled;
};

TEST(TimerRoster, EightNamedTimersCreatedDisabledAtOneMsAndStoppedInRosterOrder) {
  RecordingFactory factory;
  ElementModel display;
  RecordingSound sound(factory.clock);
  settings::MemorySettingsStore store;
  FixedLocalClock local;
  Engine engine(display, factory, sound, store, local, 1);
  const std::vector<std::string> roster = {"Timer_Clock",       "Timer_Game",           "Timer_Game_Over",
                                           "Timer_Game_Reprise_Hit", "Timer_Game_Start", "Timer_Hero_Animation",
                                           "Timer_Miss_Enemy",  "Timer_Miss_Item"};
  EXPECT_EQ(factory.names, roster);
  for (Timer* t : {&engine.Timer_Clock(), &engine.Timer_Game(), &engine.Timer_Game_Over(),
                   &engine.Timer_Game_Reprise_Hit(), &engine.Timer_Game_Start(), &engine.Timer_Hero_Animation(),
                   &engine.Timer_Miss_Enemy(), &engine.Timer_Miss_Item()}) {
    EXPECT_FALSE(t->enabled());
    EXPECT_EQ(t->interval(), 1);
  }
  engine.Gam_Stop_All_Timers();
  EXPECT_EQ(factory.disabled, roster);
}

}  // namespace
}  // namespace mk::engine::testing
