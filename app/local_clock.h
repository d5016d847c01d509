#pragma once

#include <QTime>

#include "engine/ports.h"

namespace mk::app {

// The desktop's local time of day.
class QtLocalClock final : public engine::LocalClock {
 public:
  engine::TimeOfDay now() override {
    const QTime t = QTime::currentTime();
    return {t.hour(), t.minute()};
  }
};

}  // namespace mk::app
