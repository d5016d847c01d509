#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/virtual_clock.h"
#include "lcd/element_model.h"
#include "settings/settings_store.h"
#include "tools/sim/autoplay.h"
#include "tools/sim/options.h"
#include "tools/sim/script.h"

namespace mk::sim {

// Writes one line per observable change, stamped with virtual time. With no
// output file it writes nothing and costs nothing but a test.
class Trace final : public lcd::ElementObserver {
 public:
  Trace(std::FILE* out, const engine::VirtualClock& clock) : out_(out), clock_(clock) {}
  bool enabled() const { return out_ != nullptr; }

  void line(std::string_view what, std::string_view argument = {}, std::string_view value = {});

  void visibilityChanged(lcd::ElementId id, bool visible) override;
  void digitChanged(int position, std::optional<int> glyph) override;

 private:
  std::FILE* out_;
  const engine::VirtualClock& clock_;
  std::string buffer_;
};

class TracingSound final : public engine::SoundPort {
 public:
  explicit TracingSound(Trace& trace) : trace_(trace) {}
  void play(engine::Sample sample) override;
  void silence() override;
  std::uint64_t played() const { return played_; }

 private:
  Trace& trace_;
  std::uint64_t played_ = 0;
};

class TracingStore final : public settings::SettingsStore {
 public:
  explicit TracingStore(Trace& trace) : trace_(trace) {}
  int readInt(std::string_view name, int defaultValue) override { return memory_.readInt(name, defaultValue); }
  void writeInt(std::string_view name, int value) override;
  settings::MemorySettingsStore& memory() { return memory_; }

 private:
  Trace& trace_;
  settings::MemorySettingsStore memory_;
};

// The local time of day that the clock option sets at virtual time 0 and
// that advances with virtual time.
class VirtualLocalClock final : public engine::LocalClock {
 public:
  VirtualLocalClock(const engine::VirtualClock& clock, int startMinutes) : clock_(clock), start_(startMinutes) {}
  engine::TimeOfDay now() override;

 private:
  const engine::VirtualClock& clock_;
  int start_;
};

struct RunResult {
  std::int32_t score = 0;
  std::int32_t misses = 0;
  std::int32_t mode = 0;
  std::int64_t simulatedMs = 0;
};

// The handheld on virtual time: an all-dark display at 0 ms, switched on as
// the splash dialog's Play does, then the script's presses and, if asked, the
// built-in player's. The display is the caller's, so it can be looked at (or
// pictured) when the run is over.
class Simulation {
 public:
  Simulation(const Options& options, std::vector<ScriptEvent> script, lcd::ElementModel& display, std::FILE* trace);
  ~Simulation();
  Simulation(const Simulation&) = delete;
  Simulation& operator=(const Simulation&) = delete;

  // Handles everything up to and including `ms`.
  void runTo(std::int64_t ms);

  engine::Engine& engine() { return engine_; }
  engine::VirtualClock& clock() { return clock_; }
  RunResult result() const;

 private:
  void apply(const ScriptEvent& event);

  lcd::ElementModel& display_;
  engine::VirtualClock clock_;
  Trace trace_;
  TracingSound sound_;
  TracingStore store_;
  VirtualLocalClock localClock_;
  engine::Engine engine_;
  std::optional<AutoPlayer> player_;
  std::vector<ScriptEvent> script_;
  std::size_t nextEvent_ = 0;
};

// The whole run of the command: to options.untilMs, then the summary line
// when quiet. Returns what the handheld ended with.
RunResult runSimulation(const Options& options, std::vector<ScriptEvent> script, lcd::ElementModel& display,
                        std::FILE* out);

}  // namespace mk::sim
