#include "app/window_clock.h"

#include <algorithm>
#include <chrono>

namespace mk::app {

std::int64_t monotonicMicroseconds() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

WindowClock::WindowClock() : paced_(clock_, monotonicMicroseconds) {
  wakeTimer_.setTimerType(Qt::PreciseTimer);
  wakeTimer_.setSingleShot(true);
  QObject::connect(&wakeTimer_, &QTimer::timeout, [this] {
    paced_.wake();
    step();
  });
}

void WindowClock::start() {
  paced_.start();
  rearm();
}

std::optional<std::int64_t> WindowClock::handle(const std::function<void(std::int64_t)>& input) {
  const auto at = paced_.handle(input);
  if (at) step();
  return at;
}

void WindowClock::wake() {
  paced_.wake();
  step();
}

void WindowClock::step() {
  if (afterStep_) afterStep_();
  rearm();
}

void WindowClock::rearm() {
  if (stopped_) return;
  const auto wakeUs = paced_.nextWakeUs();
  if (!wakeUs) {
    wakeTimer_.stop();
    return;
  }
  // Rounded up: a precise timer never fires early, and a wake a fraction of
  // a millisecond before the due time would find nothing due.
  const std::int64_t waitUs = std::max<std::int64_t>(*wakeUs - monotonicMicroseconds(), 0);
  wakeTimer_.start(static_cast<int>(std::min<std::int64_t>((waitUs + 999) / 1000, 1 << 30)));
}

void WindowClock::stop() {
  stopped_ = true;
  wakeTimer_.stop();
}

}  // namespace mk::app
