#include "app/handheld.h"

#include <QTime>

#include <cerrno>
#include <cstring>

#include "settings/persistent_settings.h"

namespace mk::app {

Handheld::Handheld(lcd::ElementModel& display) : display_(display) {}

Handheld::~Handheld() {
  finish();
  // The engine's timers belong to the clock, which goes after it; the
  // engine and its ports go first, in the order declared.
  engine_.reset();
}

void Handheld::open(std::unique_ptr<settings::SettingsStore> store, std::unique_ptr<sound::AudioLayer> audio,
                    sound::SoundOutput::ErrorReporter showError, const SessionOptions& session,
                    std::optional<sim::Recording> replay) {
  showError_ = showError;
  replay_ = std::move(replay);
  if (replay_) {
    playerStore_ = std::move(store);
    store_ = std::make_unique<settings::OverlaySettingsStore>(*playerStore_);
    settings::writeInt(*store_, settings::Setting::HiScore1, replay_->header.hiScore1);
    settings::writeInt(*store_, settings::Setting::HiScore2, replay_->header.hiScore2);
  } else {
    store_ = std::move(store);
  }
  audio_ = std::move(audio);
  sound_ = std::make_unique<sound::SoundOutput>(*audio_, *store_, std::move(showError));
  // The engine's own writes and sounds pass through the trace; the window's
  // settings go to the store directly and are no lines of it.
  engineStore_ = std::make_unique<sim::TracingStore>(trace_, store_.get());
  engineSound_ = std::make_unique<sim::TracingSound>(trace_, sound_.get());
  // Seeded at the last creation step, from the clock.
  engine_ = std::make_unique<engine::Engine>(display_, clock_.timers(), *engineSound_, *engineStore_, localClock_, 0u);

  if (session.record && !replay_) recorder_.emplace(*session.record);
  if (session.trace) openTrace(*session.trace);

  clock_.setAfterStep([this] { afterStep(); });
  clock_.pacing().setSkipObserver([this](std::int64_t at, std::int64_t skipped) {
    // A recording played back keeps to its own skips: a stall now only
    // delays it.
    if (replay_) return;
    sim::ScriptEvent event;
    event.ms = at;
    event.action = sim::ScriptAction::Skip;
    event.skipMs = skipped;
    if (recorder_) recorder_->add(event);
    apply(event);
  });
  if (latenessFile_) {
    clock_.pacing().setLatenessObserver([this](std::int64_t lateUs) {
      std::fprintf(latenessFile_, "%lld\n", static_cast<long long>(lateUs));
    });
  }
  if (replay_) {
    clock_.pacing().setSchedule(
        [this]() -> std::optional<std::int64_t> {
          if (replayNext_ >= replay_->events.size()) return std::nullopt;
          return replay_->events[replayNext_].ms;
        },
        [this](std::int64_t ms) {
          while (replayNext_ < replay_->events.size() && replay_->events[replayNext_].ms <= ms)
            apply(replay_->events[replayNext_++]);
        });
  }
}

void Handheld::openTrace(const std::filesystem::path& file) {
  const std::filesystem::path lateness = file.string() + ".lateness";
  traceFile_ = std::fopen(file.c_str(), "w");
  latenessFile_ = traceFile_ ? std::fopen(lateness.c_str(), "w") : nullptr;
  if (!traceFile_ || !latenessFile_) {
    const std::string reason = std::strerror(errno);
    const std::filesystem::path failed = traceFile_ ? lateness : file;
    if (traceFile_) std::fclose(traceFile_);
    traceFile_ = nullptr;
    showError_("The trace " + failed.string() + " cannot be written: " + reason);
    return;
  }
  std::fputs("# lateness of each timer handler after its due time, in microseconds\n", latenessFile_);
}

void Handheld::seed(std::uint32_t seed) {
  seed_ = seed;
  engine_->seed(seed);
}

void Handheld::switchOn() {
  if (clock_.started()) return;
  const std::int32_t hiScore1 = engine_->state().HiScore1;
  const std::int32_t hiScore2 = engine_->state().HiScore2;
  if (replay_) {
    seed(replay_->header.seed);
    localClock_.setStart(replay_->header.clockMs);
  } else {
    localClock_.setStart(QTime::currentTime().msecsSinceStartOfDay());
  }
  if (recorder_) {
    recorder_->begin({std::string(sim::kProgramVersion), seed_, localClock_.start(), hiScore1,
                      hiScore2, 0});
  }
  if (traceFile_) {
    trace_.setOutput(traceFile_);
    display_.addObserver(&trace_);
    engine_->setModeObserver([this](std::int32_t mode) { trace_.line("mode", std::to_string(mode)); });
  }
  clock_.start();
  // Switched on before anything at virtual 0 happens, as in the simulator.
  engine_->powerOn();
  clock_.wake();
}

void Handheld::press(engine::Button button) {
  sim::ScriptEvent event;
  event.down = true;
  event.button = button;
  input(event);
}

void Handheld::release(engine::Button button) {
  sim::ScriptEvent event;
  event.button = button;
  input(event);
}

void Handheld::resetHighScores() {
  if (replay_) return;
  if (!clock_.started()) {
    // Before Play: the header of a recording will hold the scores as reset.
    engine_->resetHighScores();
    return;
  }
  sim::ScriptEvent event;
  event.action = sim::ScriptAction::ResetHiScores;
  input(event);
}

void Handheld::input(const sim::ScriptEvent& event) {
  if (replay_ || finished_) return;
  clock_.handle([&](std::int64_t ms) {
    sim::ScriptEvent at = event;
    at.ms = ms;
    if (recorder_) recorder_->add(at);
    apply(at);
  });
}

void Handheld::apply(const sim::ScriptEvent& event) {
  switch (event.action) {
    case sim::ScriptAction::Skip:
      localClock_.skip(event.skipMs);
      trace_.line("skip", std::to_string(event.skipMs));
      return;
    case sim::ScriptAction::ResetHiScores:
      engine_->resetHighScores();
      return;
    case sim::ScriptAction::Button:
      if (event.down) {
        engine_->press(event.button);
      } else {
        engine_->release(event.button);
      }
      return;
  }
}

void Handheld::afterStep() {
  const std::int32_t mode = engine_->state().GameMode;
  if (mode == engine::kModeGameOver && lastMode_ != engine::kModeGameOver) {
    saveRecording();
    if (traceFile_) std::fflush(traceFile_);
    if (latenessFile_) std::fflush(latenessFile_);
  }
  lastMode_ = mode;
}

void Handheld::saveRecording() {
  if (!recorder_ || !clock_.started()) return;
  if (auto error = recorder_->save(clock_.now())) {
    std::fprintf(stderr, "marsh-keeper: %s\n", error->c_str());
    if (!recordErrorShown_) {
      recordErrorShown_ = true;
      showError_(*error);
    }
  }
}

void Handheld::finish() {
  if (finished_ || !engine_) return;
  if (clock_.started()) clock_.wake();
  finished_ = true;
  clock_.stop();
  saveRecording();
  if (traceFile_) {
    display_.removeObserver(&trace_);
    engine_->setModeObserver({});
    trace_.setOutput(nullptr);
    std::fclose(traceFile_);
    traceFile_ = nullptr;
  }
  if (latenessFile_) {
    std::fclose(latenessFile_);
    latenessFile_ = nullptr;
  }
}

}  // namespace mk::app
