#pragma once

#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "engine/ports.h"

namespace mk::app {

// An engine timer over a precise QTimer. QTimer::setInterval on a running
// timer restarts its count, so every change is compared with the current
// state first: only a different interval, or enabling a disabled timer,
// starts the count again.
class QtTimer final : public engine::Timer {
 public:
  QtTimer(std::string name, std::function<void()> handler);

  void setInterval(int ms) override;
  int interval() const override { return interval_; }
  void setEnabled(bool enabled) override;
  bool enabled() const override { return enabled_; }

  const std::string& name() const { return name_; }

 private:
  std::string name_;
  std::function<void()> handler_;
  QTimer timer_;
  int interval_ = 1;
  bool enabled_ = false;
};

class QtTimerFactory final : public engine::TimerFactory {
 public:
  std::unique_ptr<engine::Timer> createTimer(std::string_view name, std::function<void()> handler) override;
};

}  // namespace mk::app
