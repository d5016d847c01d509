#pragma once

#include <cstdint>

#include "engine/ports.h"
#include "engine/virtual_clock.h"

namespace mk::engine {

// The local time of day as start time + virtual time + skipped time: the
// simulator and the window draw the clock alike, so a recorded game replays
// with the same clock faces, and a stall that skipped virtual time still
// leaves the clock showing the desktop's time.
class VirtualLocalClock final : public LocalClock {
 public:
  static constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;

  explicit VirtualLocalClock(const VirtualClock& clock, std::int64_t startMsOfDay = 0)
      : clock_(clock), startMs_(startMsOfDay) {}

  void setStart(std::int64_t msOfDay) { startMs_ = msOfDay; }
  std::int64_t start() const { return startMs_; }
  void skip(std::int64_t ms) { skippedMs_ += ms; }
  std::int64_t skipped() const { return skippedMs_; }

  TimeOfDay now() override {
    const std::int64_t msOfDay = ((startMs_ + clock_.now() + skippedMs_) % kDayMs + kDayMs) % kDayMs;
    const std::int64_t minutes = msOfDay / 60000;
    return {static_cast<int>(minutes / 60), static_cast<int>(minutes % 60)};
  }

 private:
  const VirtualClock& clock_;
  std::int64_t startMs_;
  std::int64_t skippedMs_ = 0;
};

}  // namespace mk::engine
