#include "engine/paced_clock.h"

#include <algorithm>

namespace mk::engine {

PacedClock::PacedClock(VirtualClock& clock, Monotonic monotonicUs)
    : clock_(clock), monotonicUs_(std::move(monotonicUs)) {
  clock_.setFireObserver([this](std::int64_t dueMs) {
    if (!latenessObserver_) return;
    const std::int64_t dueUs = originUs_ + (dueMs + skippedMs_) * 1000;
    latenessObserver_(std::max<std::int64_t>(monotonicUs_() - dueUs, 0));
  });
}

void PacedClock::start() {
  originUs_ = monotonicUs_() - clock_.now() * 1000;
  skippedMs_ = 0;
  dueRunAt_.reset();
  started_ = true;
}

void PacedClock::setSchedule(std::function<std::optional<std::int64_t>()> next,
                             std::function<void(std::int64_t)> run) {
  scheduleNext_ = std::move(next);
  scheduleRun_ = std::move(run);
}

std::int64_t PacedClock::presentMs() const {
  // Floor division: the present millisecond is the one that has begun.
  const std::int64_t elapsedUs = monotonicUs_() - originUs_;
  const std::int64_t ms = elapsedUs >= 0 ? elapsedUs / 1000 : -((-elapsedUs + 999) / 1000);
  return std::max(ms - skippedMs_, clock_.now());
}

std::optional<std::int64_t> PacedClock::nextEventMs() const {
  std::optional<std::int64_t> next = clock_.nextDue();
  if (scheduleNext_) {
    if (const auto scheduled = scheduleNext_(); scheduled && (!next || *scheduled < *next)) next = scheduled;
  }
  return next;
}

void PacedClock::catchUp(std::int64_t target) {
  while (const auto next = nextEventMs()) {
    if (*next >= target) break;
    if (target - *next > kStallMs) {
      // Nothing is due before *next, so the clock stands there when the
      // skip is told, as the simulator stands when it applies one.
      const std::int64_t skipped = target - *next;
      target = *next;
      clock_.runUntil(target);
      skippedMs_ += skipped;
      if (skipObserver_) skipObserver_(target, skipped);
      break;
    }
    clock_.runUntil(*next);
    if (scheduleRun_) scheduleRun_(*next);
    clock_.runDue();
  }
  clock_.runUntil(target);
}

void PacedClock::wake() {
  if (!started_) return;
  catchUp(presentMs());
  const std::int64_t now = clock_.now();
  if (scheduleRun_) scheduleRun_(now);
  clock_.runDue();
  dueRunAt_ = now;
}

std::optional<std::int64_t> PacedClock::handle(const std::function<void(std::int64_t)>& input) {
  if (!started_) return std::nullopt;
  // Input at a millisecond comes before the timers due at it. Once those
  // have run (a wake, or earlier input, in the same millisecond), later input
  // belongs to the next millisecond: a replay must see it after them too.
  std::int64_t target = presentMs();
  if (dueRunAt_ && target <= *dueRunAt_) target = *dueRunAt_ + 1;
  catchUp(target);
  const std::int64_t now = clock_.now();
  if (scheduleRun_) scheduleRun_(now);
  input(now);
  clock_.runDue();
  dueRunAt_ = now;
  return now;
}

std::optional<std::int64_t> PacedClock::nextWakeUs() const {
  if (!started_) return std::nullopt;
  const auto next = nextEventMs();
  if (!next) return std::nullopt;
  return originUs_ + (*next + skippedMs_) * 1000;
}

}  // namespace mk::engine
