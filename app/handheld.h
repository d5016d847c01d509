#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/game_recorder.h"
#include "app/session_options.h"
#include "app/window_clock.h"
#include "engine/engine.h"
#include "engine/virtual_local_clock.h"
#include "input/key_bindings.h"
#include "lcd/element_model.h"
#include "settings/settings_store.h"
#include "sound/audio_layer.h"
#include "sound/sound_output.h"
#include "tools/sim/recording.h"
#include "tools/sim/simulation.h"

namespace mk::app {

// The handheld behind the main window's face: the settings store it keeps
// its scores and keys in, its sound output, its engine on the window's
// clock, and its key bindings. Opened at the creation step that opens the
// settings store; nothing here is a widget.
//
// Everything that reaches the engine after Play (buttons, the menu's reset
// of the high scores) goes through the window clock, so it happens at a
// virtual millisecond; that is what a recording keeps and a trace stamps.
class Handheld {
 public:
  explicit Handheld(lcd::ElementModel& display);
  ~Handheld();
  Handheld(const Handheld&) = delete;
  Handheld& operator=(const Handheld&) = delete;

  // With a recording to play back, the store given is only read (the game
  // writes to a layer in memory) and the engine starts as the recording did.
  // The reason, when a trace or lateness file cannot be opened, goes to
  // showError.
  void open(std::unique_ptr<settings::SettingsStore> store, std::unique_ptr<sound::AudioLayer> audio,
            sound::SoundOutput::ErrorReporter showError, const SessionOptions& session = {},
            std::optional<sim::Recording> replay = std::nullopt);

  // The engine's generator; a recording keeps this seed (one played back
  // brings its own).
  void seed(std::uint32_t seed);
  // Play: virtual 0, every segment lit.
  void switchOn();
  // A button from any source. Ignored before Play and while a recording
  // plays back.
  void press(engine::Button button);
  void release(engine::Button button);
  // The menu's command: both high scores to 0 (not while playing back).
  void resetHighScores();
  // Runs the clock to the present and writes the recording and the trace
  // for the last time; the engine is left as it is. Safe to call again.
  void finish();

  bool replaying() const { return replay_.has_value(); }
  bool switchedOn() const { return clock_.started(); }

  // Valid once open.
  settings::SettingsStore& store() { return *store_; }
  sound::SoundOutput& sound() { return *sound_; }
  engine::Engine& engine() { return *engine_; }
  const engine::Engine& engine() const { return *engine_; }
  WindowClock& clock() { return clock_; }
  // The key dialog edits these in place.
  input::KeyBindings& bindings() { return bindings_; }
  const input::KeyBindings& bindings() const { return bindings_; }

 private:
  void input(const sim::ScriptEvent& event);
  void apply(const sim::ScriptEvent& event);
  void afterStep();
  void saveRecording();
  void openTrace(const std::filesystem::path& file);

  lcd::ElementModel& display_;
  WindowClock clock_;
  engine::VirtualLocalClock localClock_{clock_.timers()};
  sim::Trace trace_{nullptr, clock_.timers()};
  std::FILE* traceFile_ = nullptr;
  std::FILE* latenessFile_ = nullptr;
  std::optional<GameRecorder> recorder_;
  std::optional<sim::Recording> replay_;
  std::size_t replayNext_ = 0;
  std::function<void(std::string_view)> showError_;
  std::int32_t lastMode_ = 0;
  std::uint32_t seed_ = 0;
  bool recordErrorShown_ = false;
  bool finished_ = false;
  // Destroyed engine first, store last: a tick still queued while the
  // program ends never reaches a dead store.
  std::unique_ptr<settings::SettingsStore> playerStore_;
  std::unique_ptr<settings::SettingsStore> store_;
  std::unique_ptr<sim::TracingStore> engineStore_;
  std::unique_ptr<sound::AudioLayer> audio_;
  std::unique_ptr<sound::SoundOutput> sound_;
  std::unique_ptr<sim::TracingSound> engineSound_;
  std::unique_ptr<engine::Engine> engine_;
  input::KeyBindings bindings_;
};

}  // namespace mk::app
