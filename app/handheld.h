#pragma once

#include <memory>

#include "app/local_clock.h"
#include "app/qt_timers.h"
#include "engine/engine.h"
#include "input/key_bindings.h"
#include "lcd/element_model.h"
#include "settings/settings_store.h"
#include "sound/audio_layer.h"
#include "sound/sound_output.h"

namespace mk::app {

// The handheld behind the main window's face: the settings store it keeps
// its scores and keys in, its sound output, its engine on the window's
// timers and clock, and its key bindings. Opened at the creation step that
// opens the settings store; nothing here is a widget.
class Handheld {
 public:
  explicit Handheld(lcd::ElementModel& display) : display_(display) {}
  Handheld(const Handheld&) = delete;
  Handheld& operator=(const Handheld&) = delete;

  void open(std::unique_ptr<settings::SettingsStore> store, std::unique_ptr<sound::AudioLayer> audio,
            sound::SoundOutput::ErrorReporter showError);

  // Valid once open.
  settings::SettingsStore& store() { return *store_; }
  sound::SoundOutput& sound() { return *sound_; }
  engine::Engine& engine() { return *engine_; }
  const engine::Engine& engine() const { return *engine_; }
  // The key dialog edits these in place.
  input::KeyBindings& bindings() { return bindings_; }
  const input::KeyBindings& bindings() const { return bindings_; }

 private:
  lcd::ElementModel& display_;
  QtTimerFactory timers_;
  QtLocalClock clock_;
  // Destroyed engine first, store last: a tick still queued while the
  // program ends never reaches a dead store.
  std::unique_ptr<settings::SettingsStore> store_;
  std::unique_ptr<sound::AudioLayer> audio_;
  std::unique_ptr<sound::SoundOutput> sound_;
  std::unique_ptr<engine::Engine> engine_;
  input::KeyBindings bindings_;
};

}  // namespace mk::app
