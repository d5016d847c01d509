#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "engine_probe.h"
#include "engine/virtual_clock.h"
#include "lcd/display_ops.h"
#include "lcd/segment_tables.h"
#include "settings/settings_store.h"

namespace mk::engine::testing {

using namespace mk::lcd;

struct SoundEvent {
  std::int64_t ms;
  std::string what;  // "Got", "Move", "Start" or "silence"
  friend bool operator==(const SoundEvent&, const SoundEvent&) = default;
};

class RecordingSound final : public SoundPort {
 public:
  explicit RecordingSound(const VirtualClock& clock) : clock_(clock) {}
  void play(Sample s) override {
    events.push_back({clock_.now(), s == Sample::Got ? "Got" : s == Sample::Move ? "Move" : "Start"});
  }
  void silence() override { events.push_back({clock_.now(), "silence"}); }
  int count(const std::string& what) const {
    int n = 0;
    for (const auto& e : events) n += e.what == what ? 1 : 0;
    return n;
  }
  std::vector<SoundEvent> events;

 private:
  const VirtualClock& clock_;
};

class FixedLocalClock final : public LocalClock {
 public:
  TimeOfDay now() override { return time; }
  TimeOfDay time{12, 0};
};

// Remembers when each segment changed, so timings can be read off afterwards.
class ChangeLog final : public ElementObserver {
 public:
  explicit ChangeLog(const VirtualClock& clock) : clock_(clock) {}
  struct Change {
    std::int64_t ms;
    ElementId id;
    bool visible;
  };
  void visibilityChanged(ElementId id, bool visible) override { changes.push_back({clock_.now(), id, visible}); }
  // The first time after `from` that `id` took `visible`, or -1.
  std::int64_t first(ElementId id, bool visible, std::int64_t from = 0) const {
    for (const auto& c : changes) {
      if (c.ms >= from && c.id == id && c.visible == visible) return c.ms;
    }
    return -1;
  }
  std::vector<Change> changes;

 private:
  const VirtualClock& clock_;
};

// An engine on virtual time, switched on and ready at the clock.
class EngineTest : public ::testing::Test {
 protected:
  EngineTest() { display.addObserver(&log); }
  ~EngineTest() override { display.removeObserver(&log); }

  void switchOn() {
    engine.powerOn();
  }
  void toClockAt(std::int64_t ms) {
    switchOn();
    at(ms, [&] {
      engine.Inp_time_down();
      engine.Inp_time_up();
    });
  }
  // Everything before `ms` happens, then `input` at `ms`, then the timers due at `ms`.
  template <typename F>
  void at(std::int64_t ms, F&& input) {
    clock.runUntil(ms);
    input();
    clock.runDue();
  }
  void runTo(std::int64_t ms) { clock.advanceTo(ms); }

  // Game A or B started by a press at `ms` from the clock; the key is released 50 ms later.
  void startGameAt(std::int64_t ms, Mode mode) {
    toClockAt(ms - 500);
    at(ms, [&] { mode == kModeGameA ? engine.Inp_left_down() : engine.Inp_right_down(); });
    at(ms + 50, [&] { mode == kModeGameA ? engine.Inp_left_up() : engine.Inp_right_up(); });
  }
  void tapLeft(std::int64_t ms) {
    at(ms, [&] { engine.Inp_left_down(); });
    at(ms + 1, [&] { engine.Inp_left_up(); });
  }
  void tapRight(std::int64_t ms) {
    at(ms, [&] { engine.Inp_right_down(); });
    at(ms + 1, [&] { engine.Inp_right_up(); });
  }

  bool lit(ElementId id) const { return display.isVisible(id); }
  std::vector<std::optional<int>> digits() const {
    return {display.digit(1), display.digit(2), display.digit(3), display.digit(4)};
  }
  void clearPlayfield() {
    Vid_Show_All_Item(display, false);
    Vid_Show_All_Enemy(display, false);
  }

  VirtualClock clock;
  ElementModel display;
  ChangeLog log{clock};
  RecordingSound sound{clock};
  settings::MemorySettingsStore store;
  FixedLocalClock localClock;
  Engine engine{display, clock, sound, store, localClock, 1};
  GameState& s = EngineProbe::state(engine);
};

inline const std::optional<int> kBlank = std::nullopt;

}  // namespace mk::engine::testing
