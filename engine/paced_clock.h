#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "engine/virtual_clock.h"

namespace mk::engine {

// Runs a VirtualClock in step with a monotonic clock, so a program with a
// real event loop fires the same timers, in the same order, at the same
// virtual milliseconds as the simulator does on virtual time alone.
//
// Virtual time is the monotonic time since start(), less the time skipped
// after stalls. A wake fires everything due up to the present; input is
// handled at the present millisecond, after the timers due before it and
// before those due at it (runUntil(t), input, runDue()), as the simulator
// applies a script line. When the earliest due timer is more than kStallMs
// behind the present (the machine was suspended, a debugger held the
// program, the event loop was blocked), the time past that due time is
// skipped rather than caught up in a burst of ticks: virtual time resumes at
// the due time, and the skip is reported so it can be recorded and the
// local clock can add it back.
class PacedClock {
 public:
  static constexpr std::int64_t kStallMs = 250;
  using Monotonic = std::function<std::int64_t()>;  // microseconds, never decreasing

  PacedClock(VirtualClock& clock, Monotonic monotonicUs);
  PacedClock(const PacedClock&) = delete;
  PacedClock& operator=(const PacedClock&) = delete;

  // Virtual 0 is now. Before this, nothing runs.
  void start();
  bool started() const { return started_; }

  // Fires everything due up to the present.
  void wake();
  // Brings the clock to the present and runs `input` there, before the
  // timers due at that millisecond; returns that millisecond. Before start()
  // nothing runs and the result is empty.
  std::optional<std::int64_t> handle(const std::function<void(std::int64_t ms)>& input);

  // Events of the program's own (a recording played back): `next` gives the
  // virtual time of the earliest one still to come, `run` applies those due
  // at a millisecond; they go before the timers due then, as input does.
  void setSchedule(std::function<std::optional<std::int64_t>()> next, std::function<void(std::int64_t ms)> run);

  // The monotonic time (µs) at which the next timer or scheduled event is
  // due; empty when nothing is.
  std::optional<std::int64_t> nextWakeUs() const;

  // Told of each skip: the virtual millisecond it happens at and its length.
  void setSkipObserver(std::function<void(std::int64_t atMs, std::int64_t skippedMs)> observer) {
    skipObserver_ = std::move(observer);
  }
  // Told, for each timer fired, how late (µs of monotonic time) its handler
  // starts after the moment it was due.
  void setLatenessObserver(std::function<void(std::int64_t lateUs)> observer) {
    latenessObserver_ = std::move(observer);
  }

  std::int64_t skippedMs() const { return skippedMs_; }
  VirtualClock& clock() { return clock_; }

 private:
  std::int64_t presentMs() const;
  std::optional<std::int64_t> nextEventMs() const;
  // Fires and applies everything before `target` (skipping a stall), then
  // moves the clock to the (possibly shortened) target.
  void catchUp(std::int64_t target);

  VirtualClock& clock_;
  Monotonic monotonicUs_;
  bool started_ = false;
  std::int64_t originUs_ = 0;
  std::int64_t skippedMs_ = 0;
  std::optional<std::int64_t> dueRunAt_;  // the millisecond whose due timers ran last
  std::function<std::optional<std::int64_t>()> scheduleNext_;
  std::function<void(std::int64_t)> scheduleRun_;
  std::function<void(std::int64_t, std::int64_t)> skipObserver_;
  std::function<void(std::int64_t)> latenessObserver_;
};

}  // namespace mk::engine
