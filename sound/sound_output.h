#pragma once

#include <array>
#include <functional>
#include <string_view>

#include "engine/ports.h"
#include "settings/persistent_settings.h"
#include "settings/settings_store.h"
#include "sound/audio_layer.h"

namespace mk::sound {

// The splash dialog's sound choices, in list order: SoundMode is the
// position of the entry. The third plays nothing and calls no library.
struct SoundDriverEntry {
  std::string_view text;
  int soundMode;
  bool enabled;
  int outputType;  // 0 when the library is not called
};
inline constexpr std::array<SoundDriverEntry, 3> kSoundDrivers{{
    {"Microsoft DirectSound", 0, true, kOutputDirectSound},
    {"Windows MultiMedia", 1, true, kOutputWindowsMultiMedia},
    {"(no sound)", 2, false, 0},
}};
static_assert(kSoundDrivers.size() == 3);
inline constexpr int kSoundModeNone = settings::infoOf(settings::Setting::SoundMode).defaultValue;  // nothing chosen yet

inline constexpr std::string_view kSoundFolderMessage =
    "Sound folder unproperly installed. Please reinstall the game.";

// Relative to the current directory, loaded in this order.
inline constexpr std::string_view kSampleGotPath = "Sound/Got.wav";
inline constexpr std::string_view kSampleMovePath = "Sound/Move.wav";
inline constexpr std::string_view kSampleStartPath = "Sound/Start.wav";

// The handheld's sound output: the chosen output, the three samples and the
// operations the engine, the splash dialog and the main window's close
// handler call. The layer and the store must outlive it.
class SoundOutput : public engine::SoundPort {
 public:
  // Shows text in a modal error box with one OK button (the program's own
  // message box); tests pass their own.
  using ErrorReporter = std::function<void(std::string_view text)>;

  SoundOutput(AudioLayer& layer, settings::SettingsStore& store, ErrorReporter showError);

  // Sets up the output named by the splash entry text and loads the samples.
  // The choice is stored before any library call. False when the sound files
  // are missing: the error has been shown, "SoundMode" = -1 and
  // "SplashScreen" = 1 are stored, and the caller must request termination.
  bool Snd_Init(std::string_view entryText);
  void Snd_Play(SampleHandle sample);
  void Snd_Silence();
  // Frees the three samples and closes the library, whatever was set up.
  void Snd_Shutdown();

  void play(engine::Sample sample) override;
  void silence() override { Snd_Silence(); }

  bool SoundEnabled = false;
  SampleHandle SampleGot = nullptr;
  SampleHandle SampleMove = nullptr;
  SampleHandle SampleStart = nullptr;

 private:
  void freeSamples();

  AudioLayer& layer_;
  settings::SettingsStore& store_;
  ErrorReporter showError_;
};

}  // namespace mk::sound
