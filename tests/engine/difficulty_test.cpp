#include <gtest/gtest.h>

#include <set>

#include "engine/engine.h"
#include "engine/virtual_clock.h"
#include "settings/settings_store.h"

namespace mk::engine {
namespace {

struct Row {
  std::int32_t score;
  std::int32_t itemLimit;
  int intervalMs;
};

TEST(Difficulty, FollowsTheTempoTableAcrossHundredsAndWithinThem) {
  const Row rows[] = {
      {0, 1, 120},    {3, 1, 120},     {4, 2, 120},     {9, 2, 120},    {10, 3, 120},   {19, 3, 120},
      {20, 4, 120},   {49, 4, 120},    {50, 5, 120},    {79, 5, 120},   {80, 6, 120},   {99, 6, 120},
      {100, 1, 115},  {101, 1, 115},   {104, 2, 115},   {200, 1, 110},  {550, 5, 95},   {999, 6, 75},
      {1000, 1, 70},  {1099, 6, 70},   {1100, 1, 76},   {1250, 5, 72},  {1399, 6, 68},  {1400, 1, 64},
      {1499, 6, 64},  {1500, 1, 60},   {2000, 1, 60},   {123456, 5, 60}, {-3, 1, 120},
  };
  for (const auto& row : rows) {
    const Difficulty d = difficultyFor(row.score);
    EXPECT_EQ(d.itemLimit, row.itemLimit) << row.score;
    EXPECT_EQ(d.tickIntervalMs, row.intervalMs) << row.score;
  }
}

struct NullSound : SoundPort {
  void play(Sample) override {}
  void silence() override {}
};
struct NoonClock : LocalClock {
  TimeOfDay now() override { return {12, 0}; }
};

struct RandomFixture {
  explicit RandomFixture(std::uint32_t seed) : engine(display, clock, sound, store, local, seed) {}
  VirtualClock clock;
  lcd::ElementModel display;
  NullSound sound;
  settings::MemorySettingsStore store;
  NoonClock local;
  Engine engine;
};

// The draws are the game's golden runs: they must be the same on every
// standard library, so the mapping to 0..n-1 is the engine's own.
TEST(Random, IsInRangeAndTheSameForTheSameSeedEverywhere) {
  RandomFixture a(1);
  RandomFixture b(1);
  std::set<int> seen;
  for (int i = 0; i < 2000; ++i) {
    const int x = a.engine.Random(7);
    ASSERT_GE(x, 0);
    ASSERT_LT(x, 7);
    ASSERT_EQ(x, b.engine.Random(7));
    seen.insert(x);
  }
  EXPECT_EQ(seen.size(), 7u);

  RandomFixture c(1);
  std::vector<int> first;
  for (int i = 0; i < 10; ++i) first.push_back(c.engine.Random(4));
  EXPECT_EQ(first, (std::vector<int>{1, 3, 0, 0, 3, 1, 3, 1, 3, 0}));

  c.engine.seed(1);
  EXPECT_EQ(c.engine.Random(4), first.front());
}

}  // namespace
}  // namespace mk::engine
