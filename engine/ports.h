#pragma once

#include <functional>
#include <memory>
#include <string_view>

namespace mk::engine {

// A millisecond timer that calls its handler on the one thread of the program.
// Setting a different interval, or enabling a disabled timer, restarts its
// count from that moment; the same interval again, or enabling an enabled
// timer, changes nothing. Created disabled with an interval of 1 ms.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void setInterval(int ms) = 0;
  virtual int interval() const = 0;
  virtual void setEnabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
};

class TimerFactory {
 public:
  virtual ~TimerFactory() = default;
  virtual std::unique_ptr<Timer> createTimer(std::string_view name, std::function<void()> handler) = 0;
};

enum class Sample { Got, Move, Start };

// The three sounds of the handheld. Playing never blocks and never cuts
// another sound off; silence stops every sound that is playing.
class SoundPort {
 public:
  virtual ~SoundPort() = default;
  virtual void play(Sample sample) = 0;
  virtual void silence() = 0;
};

struct TimeOfDay {
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
};

class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual TimeOfDay now() = 0;
};

}  // namespace mk::engine
