#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/virtual_clock.h"
#include "engine/virtual_local_clock.h"
#include "lcd/element_model.h"
#include "settings/settings_store.h"
#include "tools/sim/autoplay.h"
#include "tools/sim/options.h"
#include "tools/sim/script.h"

namespace mk::sim {

// Writes one line per observable change, stamped with virtual time. With no
// output file it writes nothing and costs nothing but a test. Only the
// handheld's own changes are lines: the frame elements, which the skin and
// the window show and hide, never are.
class Trace final : public lcd::ElementObserver {
 public:
  Trace(std::FILE* out, const engine::VirtualClock& clock) : out_(out), clock_(clock) {}
  bool enabled() const { return out_ != nullptr; }
  void setOutput(std::FILE* out) { out_ = out; }

  void line(std::string_view what, std::string_view argument = {}, std::string_view value = {});

  void visibilityChanged(lcd::ElementId id, bool visible) override;
  void digitChanged(int position, std::optional<int> glyph) override;

 private:
  std::FILE* out_;
  const engine::VirtualClock& clock_;
  std::string buffer_;
};

// The sound port's calls as lines, passed on to `next` when there is one.
class TracingSound final : public engine::SoundPort {
 public:
  explicit TracingSound(Trace& trace, engine::SoundPort* next = nullptr) : trace_(trace), next_(next) {}
  void play(engine::Sample sample) override;
  void silence() override;
  std::uint64_t played() const { return played_; }

 private:
  Trace& trace_;
  engine::SoundPort* next_;
  std::uint64_t played_ = 0;
};

// The engine's writes as lines, kept in memory or, given a backing store,
// passed on to it (writes that belong together still in one write).
class TracingStore final : public settings::SettingsStore {
 public:
  explicit TracingStore(Trace& trace, settings::SettingsStore* backing = nullptr)
      : trace_(trace), backing_(backing ? backing : &memory_) {}
  int readInt(std::string_view name, int defaultValue) override { return backing_->readInt(name, defaultValue); }
  void writeInt(std::string_view name, int value) override;
  void writeInts(std::span<const Entry> entries) override;
  settings::MemorySettingsStore& memory() { return memory_; }

 private:
  void traceWrite(std::string_view name, int value);

  Trace& trace_;
  settings::MemorySettingsStore memory_;
  settings::SettingsStore* backing_;
};

using engine::VirtualLocalClock;

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
