#pragma once

#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

#include "engine/paced_clock.h"
#include "engine/virtual_clock.h"

namespace mk::app {

// The engine's timers under the window: the simulator's virtual clock, run
// in step with the monotonic clock by one precise Qt timer that wakes it at
// the next due virtual time. Input goes through handle(), so it happens at
// the virtual millisecond it is handled at, before the timers due then.
class WindowClock {
 public:
  WindowClock();
  WindowClock(const WindowClock&) = delete;
  WindowClock& operator=(const WindowClock&) = delete;

  engine::VirtualClock& timers() { return clock_; }
  engine::PacedClock& pacing() { return paced_; }

  // Virtual 0 is now.
  void start();
  bool started() const { return paced_.started(); }
  // Runs `input` at the present virtual millisecond; returns it, or nothing
  // before start().
  std::optional<std::int64_t> handle(const std::function<void(std::int64_t ms)>& input);
  // Fires what is due by now (also the last moments before the program ends).
  void wake();
  std::int64_t now() const { return clock_.now(); }

  // Called after every wake and every handled input, before the Qt timer is
  // armed again.
  void setAfterStep(std::function<void()> afterStep) { afterStep_ = std::move(afterStep); }
  // Arms the Qt timer for the next due time; to be called after anything
  // that may have started or stopped an engine timer outside handle().
  void rearm();
  // The Qt timer stays unarmed from now on.
  void stop();

 private:
  void step();

  engine::VirtualClock clock_;
  engine::PacedClock paced_;
  QTimer wakeTimer_;
  std::function<void()> afterStep_;
  bool stopped_ = false;
};

// CLOCK_MONOTONIC in microseconds: what QTimer waits on too.
std::int64_t monotonicMicroseconds();

}  // namespace mk::app
