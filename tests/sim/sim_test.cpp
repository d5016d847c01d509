#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "lcd/display_ops.h"
#include "tests/engine/engine_probe.h"
#include "tools/sim/options.h"
#include "tools/sim/script.h"
#include "tools/sim/simulation.h"
#include "tests/lib/sim_trace.h"

namespace mk::sim {
namespace {

std::optional<std::string> parse(std::vector<std::string_view> args, Options& o) { return parseOptions(args, o); }

TEST(SimOptions, DefaultsAndEveryOption) {
  Options o;
  ASSERT_EQ(parse({}, o), std::nullopt);
  EXPECT_EQ(o.seed, 1u);
  EXPECT_EQ(o.clockMinutes, 720);
  EXPECT_EQ(o.untilMs, 60000);
  EXPECT_FALSE(o.autoplay || o.quiet || o.scriptPath);

  ASSERT_EQ(parse({"--seed", "4294967295", "--clock", "7:05", "--hiscore1", "12", "--hiscore2", "0", "--until",
                   "0", "--autoplay", "--quiet", "play.script"},
                  o),
            std::nullopt);
  EXPECT_EQ(o.seed, 4294967295u);
  EXPECT_EQ(o.clockMinutes, 7 * 60 + 5);
  EXPECT_EQ(o.hiScore1, 12);
  EXPECT_EQ(o.untilMs, 0);
  EXPECT_TRUE(o.autoplay && o.quiet);
  EXPECT_EQ(o.scriptPath, "play.script");
}

TEST(SimOptions, RefusesBadValuesNamingTheOption) {
  const std::vector<std::vector<std::string_view>> bad = {
      {"--seed", "4294967296"}, {"--seed", "1x"},       {"--clock", "12:60"}, {"--clock", "123:00"},
      {"--clock", "12:5"},      {"--clock", "noon"},    {"--until", "-1"},    {"--until", ""},
      {"--hiscore1", "-1"},     {"--hiscore1", "2147483648"}, {"--until"}, {"-x"},
  };
  for (const auto& args : bad) {
    Options o;
    const auto error = parse(args, o);
    ASSERT_TRUE(error) << args[0];
    EXPECT_NE(error->find(args[0]), std::string::npos) << *error;
    EXPECT_EQ(error->find('\n'), std::string::npos);
  }
}

TEST(SimScript, ReadsEventsSkippingBlankAndCommentLines) {
  std::vector<ScriptEvent> events;
  const auto error = parseScript("# start\n\n  100 down TIME\r\n100 up TIME\n\t# indented comment\n250   down  RIGHT \n",
                                 "s", events);
  ASSERT_EQ(error, std::nullopt);
  EXPECT_EQ(events, (std::vector<ScriptEvent>{{100, true, Button::Time, 3},
                                              {100, false, Button::Time, 4},
                                              {250, true, Button::Right, 6}}));
}

TEST(SimScript, NamesTheLineAndTheProblem) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"100 down TIME\n50 up TIME\n", "s:2: time 50 is before the previous event's 100"},
      {"1 down time\n", "s:1: unknown button 'time' (TIME, ACL, LEFT or RIGHT)"},
      {"-5 down TIME\n", "s:1: '-5' is not a time in milliseconds"},
      {"5 hold TIME\n", "s:1: 'hold' is neither down nor up"},
      {"\n5 down\n", "s:2: expected '<ms> down|up <BUTTON>', got '5 down'"},
      {"5 down ACL extra\n", "s:1: expected '<ms> down|up <BUTTON>', got '5 down ACL extra'"},
      {"99999999999999999999 down ACL\n", "s:1: '99999999999999999999' is not a time in milliseconds"},
      {"5 skip 0\n", "s:1: '0' is not a skipped time in milliseconds"},
      {"5 reset KEYS\n", "s:1: only HISCORES can be reset, not 'KEYS'"},
  };
  for (const auto& [text, message] : cases) {
    std::vector<ScriptEvent> events;
    EXPECT_EQ(parseScript(text, "s", events), message);
  }
}

// Runs the simulator into a string.
std::string trace(const Options& options, std::vector<ScriptEvent> script) {
  return test::simulatedTrace(options, std::move(script));
}

std::vector<ScriptEvent> script(std::string_view text) {
  std::vector<ScriptEvent> events;
  EXPECT_EQ(parseScript(text, "test", events), std::nullopt);
  return events;
}

TEST(Simulation, StartsDarkSwitchesOnAtZeroAndRunsScriptEventsAtZeroAfterThat) {
  Options o;
  o.untilMs = 0;
  const std::string out = trace(o, script("0 down ACL\n1 up ACL\n"));
  EXPECT_EQ(out.rfind("0 mode 1\n0 on im_panel_digit_pos_1\n", 0), 0u) << out.substr(0, 200);
  const auto press = out.find("0 on btn_acl_down\n0 mode 0\n");
  EXPECT_NE(press, std::string::npos);
  EXPECT_LT(out.find("0 on im_item_3_2b\n"), press);
  EXPECT_EQ(out.find("\n1 "), std::string::npos) << "events after --until are not run";
  EXPECT_EQ(out.find("im_backdrop"), std::string::npos) << "the face itself is not the handheld's change";
}

TEST(Simulation, QuietPrintsOnlyTheSummary) {
  Options o;
  o.quiet = true;
  o.untilMs = 5000;
  EXPECT_EQ(trace(o, script("100 down TIME\n200 up TIME\n1000 down RIGHT\n")),
            "score 0 misses 1 mode 7 simulated_ms 5000\n") << "the first item is missed, its mark shows at 4,891 ms";
}

TEST(AutoPlay, NeverStartsAGameItself) {
  Options o;
  o.autoplay = true;
  o.untilMs = 40000;
  const std::string out = trace(o, script("100 down TIME\n200 up TIME\n"));
  EXPECT_EQ(out.find("btn_left_down"), std::string::npos);
  EXPECT_EQ(out.find("btn_right_down"), std::string::npos);
  EXPECT_EQ(out.find("mode 5"), std::string::npos);
}

TEST(AutoPlay, PressesThroughTheButtonsAndPlaysBothGamesWell) {
  for (const char* start : {"1000 down LEFT\n1100 up LEFT\n", "1000 down RIGHT\n1100 up RIGHT\n"}) {
    Options o;
    o.autoplay = true;
    o.untilMs = 120000;
    lcd::ElementModel display;
    Simulation sim(o, script(std::string("100 down TIME\n200 up TIME\n") + start), display, nullptr);
    sim.runTo(o.untilMs);
    const RunResult r = sim.result();
    EXPECT_EQ(r.misses, 0) << start;
    EXPECT_GT(r.score, 60) << start;
  }
  Options o;
  o.autoplay = true;
  o.untilMs = 10000;
  const std::string out = trace(o, script("100 down TIME\n200 up TIME\n1000 down LEFT\n1100 up LEFT\n"));
  EXPECT_NE(out.find("on btn_left_down"), std::string::npos);
  EXPECT_NE(out.find("off btn_left_down"), std::string::npos);
}

TEST(AutoPlay, StopsPlayingOnceTheGameIsOver) {
  Options o;
  o.autoplay = true;
  o.untilMs = 100000;
  lcd::ElementModel display;
  Simulation sim(o, script("100 down TIME\n200 up TIME\n1000 down LEFT\n1100 up LEFT\n"), display, nullptr);
  sim.runTo(30000);
  // Three misses forced by hand: the player must not press on into a new game.
  sim.engine().Gam_Stop_All_Timers();
  engine::testing::EngineProbe::state(sim.engine()).Misses = 3;
  lcd::Vid_Show_Panel_Miss(display, 3);
  sim.engine().Gam_Game_Over();
  sim.runTo(o.untilMs);
  EXPECT_EQ(sim.engine().state().GameMode, engine::kModeClock);
}

}  // namespace
}  // namespace mk::sim
