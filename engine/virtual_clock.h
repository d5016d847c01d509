#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ports.h"

namespace mk::engine {

// Timers on simulated time, for tests and the headless simulator.
//
// Ordering rules: due timers fire in time order; timers due in the same
// millisecond fire in the order they were last (re)started (a periodic
// re-arm is not a restart); a timer disabled by an earlier handler does not
// fire. A driver that feeds input at millisecond t calls runUntil(t), applies
// the input, then runDue(), so input at t comes before the timers due at t.
class VirtualClock final : public TimerFactory {
 public:
  VirtualClock() = default;
  ~VirtualClock() override;
  VirtualClock(const VirtualClock&) = delete;
  VirtualClock& operator=(const VirtualClock&) = delete;

  std::unique_ptr<Timer> createTimer(std::string_view name, std::function<void()> handler) override;

  std::int64_t now() const { return now_; }

  // Fires everything due before `ms`, then moves the clock to `ms`.
  // A time earlier than now() is taken as now().
  void runUntil(std::int64_t ms);
  // Fires everything due at now(); what those handlers arm fires later.
  void runDue();
  // Everything due up to and including `ms`.
  void advanceTo(std::int64_t ms) {
    runUntil(ms);
    runDue();
  }

  // When the next enabled timer is due, if any.
  std::optional<std::int64_t> nextDue() const;
  std::uint64_t firedCount() const { return fired_; }

  // Told the due time of each timer just before its handler runs (a driver
  // on real time measures how late that is).
  void setFireObserver(std::function<void(std::int64_t dueMs)> observer) { fireObserver_ = std::move(observer); }

 private:
  class VirtualTimer;
  friend class VirtualTimer;

  VirtualTimer* nextTimer() const;
  void fire(VirtualTimer& timer);

  std::vector<VirtualTimer*> timers_;
  std::int64_t now_ = 0;
  std::uint64_t restarts_ = 0;
  std::uint64_t fired_ = 0;
  std::function<void(std::int64_t)> fireObserver_;
};

}  // namespace mk::engine
