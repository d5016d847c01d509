#include <gtest/gtest.h>

#include <QTest>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/game_recorder.h"
#include "app/handheld.h"
#include "app_fixture.h"
#include "settings/persistent_settings.h"
#include "tools/sim/options.h"
#include "tools/sim/recording.h"
#include "tools/sim/simulation.h"
#include "tests/lib/sim_trace.h"

namespace mk::app {
namespace {

namespace fs = std::filesystem;

struct TempFolder {
  fs::path path = fs::temp_directory_path() / ("mk-session-" + std::to_string(::getpid()) + "-" +
                                               std::to_string(counter++));
  TempFolder() { fs::create_directories(path); }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  static inline int counter = 0;
};

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The simulator's trace of a recording, up to its end.
std::string simulated(const sim::Recording& recording) {
  sim::Options options;
  sim::applyRecordingHeader(recording.header, options);
  return test::simulatedTrace(options, recording.events);
}

std::string linesUpTo(const std::string& trace, std::int64_t untilMs) {
  std::istringstream in(trace);
  std::string out, line;
  while (std::getline(in, line))
    if (std::stoll(line.substr(0, line.find(' '))) <= untilMs) out += line + '\n';
  return out;
}

// The handheld of the main window without the window: its store, sound and
// engine on the window clock, with the session's files.
struct Session {
  lcd::ElementModel display;
  Handheld handheld{display};
  std::vector<std::string> errors;

  Session(const SessionOptions& options, std::shared_ptr<settings::MemorySettingsStore> store,
          std::optional<sim::Recording> replay = std::nullopt) {
    testing::application();
    handheld.open(std::make_unique<testing::SharedStore>(std::move(store)),
                  std::make_unique<testing::FakeAudio>(std::make_shared<testing::SoundLog>()),
                  [this](std::string_view text) { errors.emplace_back(text); }, options, std::move(replay));
    handheld.engine().loadHighScores();
    handheld.seed(424242);
  }
  void tap(engine::Button button, int holdMs, int gapMs) {
    handheld.press(button);
    QTest::qWait(holdMs);
    handheld.release(button);
    QTest::qWait(gapMs);
  }
};

std::shared_ptr<settings::MemorySettingsStore> storeWithHighScore(int score) {
  auto store = std::make_shared<settings::MemorySettingsStore>();
  settings::writeInt(*store, settings::Setting::HiScore2, score);
  return store;
}

// Everything the engine did in the window, the simulator does again from the
// recording: buttons at the milliseconds they were handled at, a blocked
// event loop skipped rather than caught up, the menu's reset, the state at
// virtual 0. The trace is the engine's only: the window's own settings
// writes are no lines of it.
TEST(HandheldSession, TheWindowsTraceIsWhatTheSimulatorReplaysFromItsRecording) {
  TempFolder folder;
  const SessionOptions options{folder.path / "play.rec", folder.path / "play.trace", std::nullopt};
  const auto store = storeWithHighScore(31);
  {
    Session s(options, store);
    s.handheld.switchOn();
    s.tap(engine::Button::Time, 40, 100);
    s.tap(engine::Button::Right, 30, 500);  // Game B
    for (int i = 0; i < 4; ++i) s.tap(i % 2 ? engine::Button::Left : engine::Button::Right, 20 + 7 * i, 90);
    settings::writeBool(s.handheld.store(), settings::Setting::FullscreenMode, false);
    // The event loop held up for longer than the stall limit.
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    s.tap(engine::Button::Left, 25, 300);
    s.handheld.resetHighScores();
    s.tap(engine::Button::Right, 25, 200);
    s.handheld.finish();
    EXPECT_TRUE(s.errors.empty());
  }
  sim::Recording recording;
  ASSERT_EQ(sim::loadRecording((folder.path / "play.rec").string(), recording), std::nullopt);
  EXPECT_EQ(recording.header.seed, 424242u);
  EXPECT_EQ(recording.header.hiScore2, 31);
  EXPECT_GE(recording.header.untilMs, 1500);
  int buttons = 0, skips = 0, resets = 0;
  for (const auto& e : recording.events) {
    buttons += e.action == sim::ScriptAction::Button;
    skips += e.action == sim::ScriptAction::Skip;
    resets += e.action == sim::ScriptAction::ResetHiScores;
  }
  EXPECT_EQ(buttons, 16);
  EXPECT_GE(skips, 1);
  EXPECT_EQ(resets, 1);

  const std::string trace = readFile(folder.path / "play.trace");
  EXPECT_NE(trace.find(" mode 7\n"), std::string::npos);
  EXPECT_EQ(trace.find("FullscreenMode"), std::string::npos);
  EXPECT_EQ(trace, simulated(recording));

  const std::string lateness = readFile(folder.path / "play.trace.lateness");
  EXPECT_EQ(lateness.rfind("# lateness of each timer handler after its due time, in microseconds\n", 0), 0u);
  EXPECT_GT(std::count(lateness.begin(), lateness.end(), '\n'), 20);
}

// Played back, the recording drives the engine at its own virtual times;
// the player's buttons are ignored and the player's store keeps its scores.
TEST(HandheldSession, APlaybackRunsTheRecordingAloneAndWritesNothingToThePlayersStore) {
  sim::Recording recording;
  recording.header = {"5.0.0", 7, 8 * 3'600'000 + 59 * 60'000 + 59'400, 3, 9, 1800};
  const char* body = "100 down TIME\n160 up TIME\n400 down RIGHT\n430 up RIGHT\n900 skip 60000\n"
                     "1200 reset HISCORES\n1500 down LEFT\n1550 up LEFT\n";
  ASSERT_EQ(sim::parseScript(body, "body", recording.events), std::nullopt);

  TempFolder folder;
  const auto store = storeWithHighScore(55);
  {
    Session s({std::nullopt, folder.path / "playback.trace", std::nullopt}, store, recording);
    s.handheld.switchOn();
    s.tap(engine::Button::Acl, 30, 50);  // would switch the handheld off
    QTest::qWait(static_cast<int>(recording.header.untilMs) + 200);
    s.handheld.finish();
  }
  EXPECT_EQ(linesUpTo(readFile(folder.path / "playback.trace"), recording.header.untilMs), simulated(recording));
  EXPECT_EQ(settings::readInt(*store, settings::Setting::HiScore2), 55);
}

TEST(GameRecorder, ReplacesTheFileWholeOrLeavesItAsItWasAndSaysWhy) {
  TempFolder folder;
  GameRecorder recorder(folder.path / "r.rec");
  recorder.begin({"5.0.0", 1, 0, 0, 0, 0});
  sim::ScriptEvent down{50, true, engine::Button::Left};
  recorder.add(down);
  ASSERT_EQ(recorder.save(100), std::nullopt);
  recorder.add({60, false, engine::Button::Left});
  ASSERT_EQ(recorder.save(200), std::nullopt);
  sim::Recording read;
  ASSERT_EQ(sim::parseRecording(readFile(folder.path / "r.rec"), read), std::nullopt);
  EXPECT_EQ(read.events.size(), 2u);
  EXPECT_EQ(read.header.untilMs, 200);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), fs::directory_iterator()), 1)
      << "no temporary file is left beside it";

  GameRecorder nowhere(folder.path / "missing" / "r.rec");
  nowhere.begin({"5.0.0", 1, 0, 0, 0, 0});
  const auto error = nowhere.save(0);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("missing/r.rec"), std::string::npos) << *error;
}

}  // namespace
}  // namespace mk::app
