#include "engine/virtual_clock.h"

#include <algorithm>

namespace mk::engine {

class VirtualClock::VirtualTimer final : public Timer {
 public:
  VirtualTimer(VirtualClock& clock, std::string_view name, std::function<void()> handler)
      : clock_(&clock), name_(name), handler_(std::move(handler)) {}

  ~VirtualTimer() override {
    if (clock_) std::erase(clock_->timers_, this);
  }

  void setInterval(int ms) override {
    if (ms == interval_) return;
    interval_ = ms;
    if (enabled_) restart();
  }
  int interval() const override { return interval_; }

  void setEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled_) restart();
  }
  bool enabled() const override { return enabled_; }

  // A zero or negative interval would fire without time passing; one
  // millisecond is the shortest period simulated time knows.
  std::int64_t period() const { return std::max(interval_, 1); }

  void restart() {
    due_ = clock_ ? clock_->now_ + period() : 0;
    order_ = clock_ ? ++clock_->restarts_ : 0;
  }

  VirtualClock* clock_;
  std::string name_;
  std::function<void()> handler_;
  int interval_ = 1;
  bool enabled_ = false;
  std::int64_t due_ = 0;
  std::uint64_t order_ = 0;
};

VirtualClock::~VirtualClock() {
  for (auto* timer : timers_) timer->clock_ = nullptr;
}

std::unique_ptr<Timer> VirtualClock::createTimer(std::string_view name, std::function<void()> handler) {
  auto timer = std::make_unique<VirtualTimer>(*this, name, std::move(handler));
  timers_.push_back(timer.get());
  return timer;
}

VirtualClock::VirtualTimer* VirtualClock::nextTimer() const {
  VirtualTimer* best = nullptr;
  for (auto* timer : timers_) {
    if (!timer->enabled_) continue;
    if (!best || timer->due_ < best->due_ || (timer->due_ == best->due_ && timer->order_ < best->order_)) {
      best = timer;
    }
  }
  return best;
}

std::optional<std::int64_t> VirtualClock::nextDue() const {
  if (auto* timer = nextTimer()) return timer->due_;
  return std::nullopt;
}

void VirtualClock::fire(VirtualTimer& timer) {
  now_ = timer.due_;
  timer.due_ += timer.period();
  ++fired_;
  if (fireObserver_) fireObserver_(now_);
  timer.handler_();
}

void VirtualClock::runUntil(std::int64_t ms) {
  while (auto* timer = nextTimer()) {
    if (timer->due_ >= ms) break;
    fire(*timer);
  }
  now_ = std::max(now_, ms);
}

void VirtualClock::runDue() {
  while (auto* timer = nextTimer()) {
    if (timer->due_ > now_) break;
    fire(*timer);
  }
}

}  // namespace mk::engine
