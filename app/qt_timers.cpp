#include "app/qt_timers.h"

#include <algorithm>

namespace mk::app {

QtTimer::QtTimer(std::string name, std::function<void()> handler)
    : name_(std::move(name)), handler_(std::move(handler)) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setSingleShot(false);
  timer_.setInterval(interval_);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    // A timeout already queued when an earlier handler disabled this timer
    // must not run its handler.
    if (enabled_ && handler_) handler_();
  });
}

void QtTimer::setInterval(int ms) {
  ms = std::max(ms, 0);
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) {
    timer_.start(interval_);
  } else {
    timer_.setInterval(interval_);
  }
}

void QtTimer::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_) {
    timer_.start(interval_);
  } else {
    timer_.stop();
  }
}

std::unique_ptr<engine::Timer> QtTimerFactory::createTimer(std::string_view name, std::function<void()> handler) {
  return std::make_unique<QtTimer>(std::string(name), std::move(handler));
}

}  // namespace mk::app
