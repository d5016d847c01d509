#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "app/qt_timers.h"
#include "app_fixture.h"

namespace mk::app {
namespace {

// Runs the event loop until `done` holds or the time is up.
template <typename Done>
void waitUntil(Done done, int timeoutMs = 2000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) QTest::qWait(2);
}

struct Probe {
  QElapsedTimer since;
  int ticks = 0;
  qint64 firstTickMs = -1;
  void tick() {
    if (ticks++ == 0) firstTickMs = since.elapsed();
  }
};

class QtTimerTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::application(); }
};

TEST_F(QtTimerTest, StartsDisabledAtOneMillisecondAndTicksRepeatedlyOnceEnabled) {
  Probe probe;
  QtTimerFactory factory;
  auto timer = factory.createTimer("Timer_Game", [&] { probe.tick(); });
  EXPECT_FALSE(timer->enabled());
  EXPECT_EQ(timer->interval(), 1);
  QTest::qWait(30);
  EXPECT_EQ(probe.ticks, 0) << "a disabled timer never calls its handler";

  timer->setInterval(10);
  probe.since.start();
  timer->setEnabled(true);
  waitUntil([&] { return probe.ticks >= 3; });
  EXPECT_GE(probe.ticks, 3);

  timer->setEnabled(false);
  const int ticks = probe.ticks;
  QTest::qWait(40);
  EXPECT_EQ(probe.ticks, ticks) << "disabling stops the ticks";
}

// The sequences rely on this: re-applying the same interval, or enabling a
// running timer, must not push its next tick back.
TEST_F(QtTimerTest, SameIntervalOrEnablingAgainKeepsTheCountWhileADifferentIntervalRestartsIt) {
  QtTimerFactory factory;

  Probe kept;
  auto same = factory.createTimer("same", [&] { kept.tick(); });
  Probe keptEnabled;
  auto enabledAgain = factory.createTimer("enabled again", [&] { keptEnabled.tick(); });
  Probe restarted;
  auto changed = factory.createTimer("changed", [&] { restarted.tick(); });

  for (auto* t : {same.get(), enabledAgain.get(), changed.get()}) t->setInterval(200);
  kept.since.start();
  keptEnabled.since.start();
  restarted.since.start();
  for (auto* t : {same.get(), enabledAgain.get(), changed.get()}) t->setEnabled(true);

  QTest::qWait(120);
  same->setInterval(200);
  enabledAgain->setEnabled(true);
  changed->setInterval(210);

  waitUntil([&] { return kept.ticks > 0 && keptEnabled.ticks > 0 && restarted.ticks > 0; });
  EXPECT_GE(kept.firstTickMs, 150);
  EXPECT_LT(kept.firstTickMs, 300) << "the same interval again must not restart the count";
  EXPECT_LT(keptEnabled.firstTickMs, 300) << "enabling an enabled timer must not restart the count";
  EXPECT_GE(restarted.firstTickMs, 300) << "a different interval restarts the count from that moment";
}

TEST_F(QtTimerTest, EnablingADisabledTimerRestartsItsCount) {
  QtTimerFactory factory;
  Probe probe;
  auto timer = factory.createTimer("t", [&] { probe.tick(); });
  timer->setInterval(150);
  timer->setEnabled(true);
  QTest::qWait(100);
  timer->setEnabled(false);
  probe.since.start();
  timer->setEnabled(true);
  waitUntil([&] { return probe.ticks > 0; });
  EXPECT_GE(probe.firstTickMs, 120);
}

// A handler may stop another timer whose tick is already due in the same
// turn of the event loop; that tick must not run.
TEST_F(QtTimerTest, ATimerStoppedByAnotherHandlerDoesNotTickAgain) {
  QtTimerFactory factory;
  int stoppedTicks = 0;
  std::unique_ptr<engine::Timer> victim = factory.createTimer("victim", [&] { ++stoppedTicks; });
  auto stopper = factory.createTimer("stopper", [&] { victim->setEnabled(false); });
  victim->setInterval(5);
  stopper->setInterval(5);
  stopper->setEnabled(true);
  victim->setEnabled(true);
  QTest::qWait(60);
  stopper->setEnabled(false);
  const int after = stoppedTicks;
  QTest::qWait(30);
  EXPECT_EQ(stoppedTicks, after);
  EXPECT_FALSE(victim->enabled());
}

}  // namespace
}  // namespace mk::app
