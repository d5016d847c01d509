#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "engine/paced_clock.h"
#include "engine/virtual_clock.h"

namespace mk::engine {
namespace {

// A VirtualClock paced by a monotonic clock the test moves by hand.
struct Paced {
  std::int64_t monotonicUs = 5'000'000;  // not 0: virtual 0 is wherever start() is
  VirtualClock clock;
  PacedClock paced{clock, [this] { return monotonicUs; }};
  std::vector<std::string> log;
  std::vector<std::pair<std::int64_t, std::int64_t>> skips;

  Paced() {
    paced.setSkipObserver([this](std::int64_t at, std::int64_t ms) { skips.emplace_back(at, ms); });
    paced.start();
  }
  std::unique_ptr<Timer> make(const std::string& name, std::function<void()> extra = {}) {
    return clock.createTimer(name, [this, name, extra] {
      log.push_back(std::to_string(clock.now()) + " " + name);
      if (extra) extra();
    });
  }
  // Real time since start(), in ms.
  void at(double ms) { monotonicUs = 5'000'000 + static_cast<std::int64_t>(ms * 1000); }
  void input(const std::string& what) {
    paced.handle([&](std::int64_t ms) { log.push_back(std::to_string(ms) + " " + what); });
  }
};

// Input is handled at the millisecond it arrives in: after every timer due
// before it, before those due at it, as the simulator applies a script line.
TEST(PacedClock, InputComesAfterTheTimersDueBeforeItsMillisecondAndBeforeThoseDueAtIt) {
  Paced p;
  auto tick = p.make("tick");
  tick->setInterval(100);
  tick->setEnabled(true);
  p.at(100.9);  // still millisecond 100
  p.input("press");
  p.at(230);
  p.input("release");
  EXPECT_EQ(p.log, (std::vector<std::string>{"100 press", "100 tick", "200 tick", "230 release"}));
  EXPECT_EQ(p.clock.now(), 230);
}

// Once the timers of a millisecond have run, input in that same millisecond
// (after a wake, or after other input) goes to the next one: at its own
// millisecond a replay would put it before those timers.
TEST(PacedClock, InputAfterTheTimersOfItsMillisecondRanGoesToTheNextOne) {
  Paced p;
  auto tick = p.make("tick");
  tick->setInterval(100);
  tick->setEnabled(true);
  p.at(100.2);
  p.paced.wake();
  p.at(100.6);
  p.input("press");
  p.at(150);
  p.input("first");
  p.input("second");
  EXPECT_EQ(p.log, (std::vector<std::string>{"100 tick", "101 press", "150 first", "151 second"}));
  p.at(200.1);
  p.paced.wake();
  EXPECT_EQ(p.log.back(), "200 tick") << "the period is kept";
}

// Woken late by less than the stall limit, the clock catches up tick by
// tick; the wake-up time it asks for is the next due one.
TEST(PacedClock, AShortDelayIsCaughtUpAndTheNextWakeIsTheNextDueTime) {
  Paced p;
  auto tick = p.make("tick");
  tick->setInterval(120);
  tick->setEnabled(true);
  EXPECT_EQ(p.paced.nextWakeUs(), 5'000'000 + 120'000);
  p.at(120 + PacedClock::kStallMs);  // exactly at the limit: no skip yet
  p.paced.wake();
  EXPECT_EQ(p.log, (std::vector<std::string>{"120 tick", "240 tick", "360 tick"}));
  EXPECT_TRUE(p.skips.empty());
  EXPECT_EQ(p.paced.nextWakeUs(), 5'000'000 + 480'000);
}

// After a stall the missed time is skipped: the due timer fires once, the
// virtual time resumes there, and the next ticks come at their period in
// real time from then on, not in a burst.
TEST(PacedClock, AStallLongerThanTheLimitIsSkippedAndToldInsteadOfABurstOfTicks) {
  Paced p;
  auto tick = p.make("tick");
  tick->setInterval(120);
  tick->setEnabled(true);
  p.at(120 + PacedClock::kStallMs + 1);
  p.paced.wake();
  EXPECT_EQ(p.log, (std::vector<std::string>{"120 tick"}));
  ASSERT_EQ(p.skips.size(), 1u);
  EXPECT_EQ(p.skips[0], (std::pair<std::int64_t, std::int64_t>{120, PacedClock::kStallMs + 1}));
  EXPECT_EQ(p.paced.skippedMs(), PacedClock::kStallMs + 1);
  EXPECT_EQ(p.paced.nextWakeUs(), 5'000'000 + (240 + PacedClock::kStallMs + 1) * 1000);

  p.log.clear();
  p.at(2000);  // a two-second stop of the whole process
  p.input("press");
  EXPECT_EQ(p.log, (std::vector<std::string>{"240 press", "240 tick"}));
  ASSERT_EQ(p.skips.size(), 2u);
  EXPECT_EQ(p.skips[1].first, 240);
  EXPECT_EQ(p.clock.now() + p.paced.skippedMs(), 2000) << "virtual plus skipped time is real time";
}

// With no timer due, a long wait is no stall: nothing would burst, and
// input lands at its real millisecond.
TEST(PacedClock, ALongWaitWithNothingDueSkipsNothing) {
  Paced p;
  p.at(10'000);
  p.input("press");
  EXPECT_EQ(p.log, (std::vector<std::string>{"10000 press"}));
  EXPECT_TRUE(p.skips.empty());
  EXPECT_EQ(p.paced.nextWakeUs(), std::nullopt);
}

// The pacing changes when timers fire, never how: restarts, re-arms and
// same-millisecond order come out as on the bare virtual clock.
TEST(PacedClock, TimersKeepTheVirtualClocksRestartRulesAndOrder) {
  struct Run {
    std::vector<std::string> log;
    std::unique_ptr<Timer> a, b, c;
    void build(const std::function<std::unique_ptr<Timer>(const std::string&, std::function<void()>)>& make) {
      a = make("a", [this] { b->setInterval(b->interval() == 50 ? 70 : 50); });
      b = make("b", [this] { c->setEnabled(false); });
      c = make("c", [this] { a->setInterval(a->interval()); });
      a->setInterval(90);
      c->setInterval(35);
      b->setInterval(50);
      for (auto* t : {c.get(), a.get(), b.get()}) t->setEnabled(true);
    }
    void inputAt(std::int64_t) {
      c->setEnabled(true);   // a disabled timer enabled: restarts
      a->setEnabled(true);   // already enabled: keeps its count
    }
  };
  constexpr std::array<std::int64_t, 3> kInputs{120, 333, 640};

  Run bare;
  VirtualClock clock;
  bare.build([&](const std::string& name, std::function<void()> extra) {
    return clock.createTimer(name, [&, name, extra] {
      bare.log.push_back(std::to_string(clock.now()) + " " + name);
      extra();
    });
  });
  for (const auto t : kInputs) {
    clock.runUntil(t);
    bare.inputAt(t);
    bare.log.push_back(std::to_string(t) + " input");
    clock.runDue();
  }
  clock.advanceTo(1000);

  Run paced;
  Paced p;
  paced.build([&](const std::string& name, std::function<void()> extra) { return p.make(name, extra); });
  // Woken at uneven moments, some late, as an event loop does.
  for (double ms = 0; ms <= 1000; ms += 17.3) {
    for (const auto t : kInputs) {
      if (t > ms - 17.3 && t <= ms) {
        p.at(static_cast<double>(t) + 0.4);
        p.paced.handle([&](std::int64_t at) {
          paced.inputAt(at);
          p.log.push_back(std::to_string(at) + " input");
        });
      }
    }
    p.at(ms);
    p.paced.wake();
  }
  p.at(1000);
  p.paced.wake();
  EXPECT_TRUE(p.skips.empty());
  EXPECT_EQ(p.log, bare.log);
}

// A recording played back: its events go in at their own virtual time,
// before the timers due then, even when the wake comes late.
TEST(PacedClock, ScheduledEventsComeBeforeTheTimersDueAtTheirMillisecond) {
  Paced p;
  auto tick = p.make("tick");
  tick->setInterval(100);
  tick->setEnabled(true);
  std::vector<std::int64_t> events{100, 150};
  std::size_t next = 0;
  p.paced.setSchedule(
      [&]() -> std::optional<std::int64_t> {
        if (next < events.size()) return events[next];
        return std::nullopt;
      },
      [&](std::int64_t ms) {
        while (next < events.size() && events[next] <= ms) p.log.push_back(std::to_string(events[next++]) + " event");
      });
  EXPECT_EQ(p.paced.nextWakeUs(), 5'000'000 + 100'000);
  p.at(210);
  p.paced.wake();
  EXPECT_EQ(p.log, (std::vector<std::string>{"100 event", "100 tick", "150 event", "200 tick"}));
}

// How late each handler starts, in real time, after the moment it was due.
TEST(PacedClock, TellsTheLatenessOfEveryHandlerInMicroseconds) {
  Paced p;
  std::vector<std::int64_t> late;
  p.paced.setLatenessObserver([&](std::int64_t us) { late.push_back(us); });
  auto tick = p.make("tick");
  tick->setInterval(100);
  tick->setEnabled(true);
  p.at(100.25);
  p.paced.wake();
  p.at(203.5);
  p.paced.wake();
  EXPECT_EQ(late, (std::vector<std::int64_t>{250, 3500}));
}

}  // namespace
}  // namespace mk::engine
