#include "tools/sim/simulation.h"

#include <charconv>
#include <limits>

#include "settings/persistent_settings.h"
#include "tools/sim/frame_elements.h"

namespace mk::sim {

namespace {

void appendNumber(std::string& s, std::int64_t n) {
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
  s.append(digits, end);
}

std::string_view sampleName(engine::Sample sample) {
  switch (sample) {
    case engine::Sample::Got: return "Got";
    case engine::Sample::Move: return "Move";
    case engine::Sample::Start: return "Start";
  }
  return "?";
}

}  // namespace

void Trace::line(std::string_view what, std::string_view argument, std::string_view value) {
  if (!out_) return;
  buffer_.clear();
  appendNumber(buffer_, clock_.now());
  buffer_ += ' ';
  buffer_ += what;
  if (!argument.empty()) (buffer_ += ' ') += argument;
  if (!value.empty()) (buffer_ += ' ') += value;
  buffer_ += '\n';
  std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
}

void Trace::visibilityChanged(lcd::ElementId id, bool visible) {
  if (isFrameElement(id)) return;
  line(visible ? "on" : "off", lcd::nameOf(id));
}

void Trace::digitChanged(int position, std::optional<int> glyph) {
  const char pos[2] = {static_cast<char>('0' + position), '\0'};
  const char digit[2] = {static_cast<char>('0' + glyph.value_or(0)), '\0'};
  line("digit", pos, glyph ? std::string_view(digit) : std::string_view("blank"));
}

void TracingSound::play(engine::Sample sample) {
  ++played_;
  trace_.line("sound", sampleName(sample));
  if (next_) next_->play(sample);
}

void TracingSound::silence() {
  trace_.line("silence");
  if (next_) next_->silence();
}

void TracingStore::traceWrite(std::string_view name, int value) {
  if (!trace_.enabled()) return;
  std::string text;
  appendNumber(text, value);
  trace_.line("store", name, text);
}

void TracingStore::writeInt(std::string_view name, int value) {
  backing_->writeInt(name, value);
  traceWrite(name, value);
}

void TracingStore::writeInts(std::span<const Entry> entries) {
  backing_->writeInts(entries);
  for (const auto& [name, value] : entries) traceWrite(name, value);
}

Simulation::Simulation(const Options& options, std::vector<ScriptEvent> script, lcd::ElementModel& display,
                       std::FILE* trace)
    : display_(display),
      trace_(trace, clock_),
      sound_(trace_),
      store_(trace_),
      localClock_(clock_, options.clockMinutes * std::int64_t{60000} + options.clockRestMs),
      engine_(display, clock_, sound_, store_, localClock_, options.seed),
      script_(std::move(script)) {
  // The handheld's own changes only: start from a dark face with blank digits.
  for (std::size_t i = 0; i < lcd::kElementCount; ++i) display_.hide(static_cast<lcd::ElementId>(i));
  for (int p = 1; p <= 4; ++p) display_.setDigit(p, std::nullopt);

  // High scores come from the store, as when the main window is created.
  settings::writeInt(store_.memory(), settings::Setting::HiScore1, options.hiScore1);
  settings::writeInt(store_.memory(), settings::Setting::HiScore2, options.hiScore2);
  engine_.loadHighScores();

  if (trace_.enabled()) {
    display_.addObserver(&trace_);
    engine_.setModeObserver([this](std::int32_t mode) {
      std::string text;
      appendNumber(text, mode);
      trace_.line("mode", text);
    });
  }
  if (options.autoplay) player_.emplace(engine_, display_);

  // Switched on, as Play in the splash dialog does.
  engine_.powerOn();
}

Simulation::~Simulation() { display_.removeObserver(&trace_); }

void Simulation::apply(const ScriptEvent& event) {
  if (event.action == ScriptAction::Skip) {
    localClock_.skip(event.skipMs);
    if (trace_.enabled()) trace_.line("skip", std::to_string(event.skipMs));
  } else if (event.action == ScriptAction::ResetHiScores) {
    engine_.resetHighScores();
  } else if (event.down) {
    engine_.press(event.button);
  } else {
    engine_.release(event.button);
  }
}

void Simulation::runTo(std::int64_t ms) {
  constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  while (true) {
    std::int64_t next = clock_.nextDue().value_or(kNever);
    if (nextEvent_ < script_.size()) next = std::min(next, script_[nextEvent_].ms);
    if (player_ && player_->wakeAt()) next = std::min(next, *player_->wakeAt());
    if (next > ms) break;
    // Presses at a millisecond come before the timers due at it.
    clock_.runUntil(next);
    while (nextEvent_ < script_.size() && script_[nextEvent_].ms == next) apply(script_[nextEvent_++]);
    if (player_ && player_->wakeAt() == next) player_->wake(next);
    clock_.runDue();
    if (player_) player_->observe(next);
  }
  clock_.runUntil(ms);
}

RunResult Simulation::result() const {
  const auto& s = engine_.state();
  return {s.Score, s.Misses, s.GameMode, clock_.now()};
}

RunResult runSimulation(const Options& options, std::vector<ScriptEvent> script, lcd::ElementModel& display,
                        std::FILE* out) {
  Simulation simulation(options, std::move(script), display, options.quiet ? nullptr : out);
  simulation.runTo(options.untilMs);
  const RunResult r = simulation.result();
  if (options.quiet && out) {
    std::fprintf(out, "score %d misses %d mode %d simulated_ms %lld\n", r.score, r.misses, r.mode,
                 static_cast<long long>(r.simulatedMs));
  }
  return r;
}

}  // namespace mk::sim
