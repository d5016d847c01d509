#include "app/handheld.h"

namespace mk::app {

void Handheld::open(std::unique_ptr<settings::SettingsStore> store, std::unique_ptr<sound::AudioLayer> audio,
                    sound::SoundOutput::ErrorReporter showError) {
  store_ = std::move(store);
  audio_ = std::move(audio);
  sound_ = std::make_unique<sound::SoundOutput>(*audio_, *store_, std::move(showError));
  // Seeded at the last creation step, from the clock.
  engine_ = std::make_unique<engine::Engine>(display_, timers_, *sound_, *store_, clock_, 0u);
}

}  // namespace mk::app
