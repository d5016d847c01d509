#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/virtual_clock.h"

namespace mk::engine {
namespace {

struct Fixture {
  VirtualClock clock;
  std::vector<std::string> fired;
  std::unique_ptr<Timer> make(const std::string& name, std::function<void()> extra = {}) {
    return clock.createTimer(name, [this, name, extra] {
      fired.push_back(std::to_string(clock.now()) + " " + name);
      if (extra) extra();
    });
  }
};

TEST(VirtualClock, FiresDueTimersInTimeOrderAndPeriodically) {
  Fixture f;
  auto a = f.make("a");
  auto b = f.make("b");
  a->setInterval(30);
  b->setInterval(20);
  a->setEnabled(true);
  b->setEnabled(true);
  f.clock.advanceTo(65);
  EXPECT_EQ(f.fired, (std::vector<std::string>{"20 b", "30 a", "40 b", "60 a", "60 b"}));
}

// Ties go to the timer (re)started first, whatever order they were created in;
// a periodic re-arm is not a restart.
TEST(VirtualClock, TimersDueTogetherFireInTheOrderTheyWereLastRestarted) {
  Fixture f;
  auto a = f.make("a");
  auto b = f.make("b");
  b->setInterval(50);
  b->setEnabled(true);
  a->setInterval(100);
  a->setEnabled(true);
  f.clock.advanceTo(100);
  EXPECT_EQ(f.fired, (std::vector<std::string>{"50 b", "100 b", "100 a"}));

  f.fired.clear();
  b->setEnabled(false);
  b->setEnabled(true);  // now restarted after a: due at 150 and 200, a at 200
  f.clock.advanceTo(200);
  EXPECT_EQ(f.fired, (std::vector<std::string>{"150 b", "200 a", "200 b"}));
}

TEST(VirtualClock, ADifferentIntervalOrReEnablingRestartsTheCountButTheSameDoesNot) {
  Fixture f;
  auto a = f.make("a");
  a->setInterval(100);
  a->setEnabled(true);
  f.clock.advanceTo(30);
  a->setInterval(100);
  a->setEnabled(true);
  f.clock.advanceTo(60);
  a->setInterval(50);  // counts from 60
  f.clock.advanceTo(130);
  a->setEnabled(false);
  f.clock.advanceTo(140);
  a->setEnabled(true);  // counts from 140
  f.clock.advanceTo(195);
  EXPECT_EQ(f.fired, (std::vector<std::string>{"110 a", "190 a"}));
}

TEST(VirtualClock, AnIntervalSetInsideTheHandlerCountsFromThatTick) {
  Fixture f;
  std::unique_ptr<Timer> a;
  a = f.make("a", [&] { a->setInterval(150); });
  a->setEnabled(true);  // 1 ms, then 150 from the first tick on
  f.clock.advanceTo(400);
  EXPECT_EQ(f.fired, (std::vector<std::string>{"1 a", "151 a", "301 a"}));
}

TEST(VirtualClock, ATimerDisabledByAnEarlierHandlerOfTheSameMillisecondDoesNotFire) {
  Fixture f;
  std::unique_ptr<Timer> b;
  auto a = f.make("a", [&] { b->setEnabled(false); });
  b = f.make("b");
  a->setInterval(10);
  b->setInterval(10);
  a->setEnabled(true);
  b->setEnabled(true);
  f.clock.advanceTo(25);
  EXPECT_EQ(f.fired, (std::vector<std::string>{"10 a", "20 a"}));
}

// A driver applies input at t between runUntil(t) and runDue().
TEST(VirtualClock, RunUntilStopsShortOfTheMillisecondSoInputComesFirst) {
  Fixture f;
  auto a = f.make("a");
  a->setInterval(100);
  a->setEnabled(true);
  f.clock.runUntil(100);
  EXPECT_TRUE(f.fired.empty());
  EXPECT_EQ(f.clock.now(), 100);
  EXPECT_EQ(f.clock.nextDue(), 100);
  a->setEnabled(false);  // input at 100 stops it before it fires
  f.clock.runDue();
  EXPECT_TRUE(f.fired.empty());
  EXPECT_EQ(f.clock.nextDue(), std::nullopt);
}

}  // namespace
}  // namespace mk::engine
