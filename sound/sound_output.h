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
// position of the entry, and what each position chooses is the same on
// every platform, so a stored choice keeps working. The third plays nothing
// and calls no library. Linux names its outputs by what they are; `hint`
// says more, where the list has no room.
struct SoundDriverEntry {
  std::string_view text;
  std::string_view hint;  // empty: none
  int soundMode;
  bool enabled;
  int outputType;  // 0 when the library is not called
};
#if defined(_WIN32)
inline constexpr std::array<SoundDriverEntry, 3> kSoundDrivers{{
    {"Microsoft DirectSound", "", 0, true, kOutputDirectSound},
    {"Windows MultiMedia", "", 1, true, kOutputWindowsMultiMedia},
    {"(no sound)", "", 2, false, 0},
}};
#else
inline constexpr std::array<SoundDriverEntry, 3> kSoundDrivers{{
    {"Desktop sound server", "PulseAudio or PipeWire, whichever the desktop runs", 0, true, kOutputDirectSound},
    {"ALSA sound device", "The sound card itself, for a desktop without a sound server", 1, true,
     kOutputWindowsMultiMedia},
    {"(no sound)", "The game stays silent", 2, false, 0},
}};
#endif
static_assert(kSoundDrivers.size() == 3);
constexpr bool soundModesAreListPositions() {
  for (std::size_t i = 0; i < kSoundDrivers.size(); ++i)
    if (kSoundDrivers[i].soundMode != static_cast<int>(i)) return false;
  return true;
}
static_assert(soundModesAreListPositions());
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

  // Sets up the output at `position` of the splash dialog's list and loads
  // the samples. The choice is stored before any library call; a position
  // outside the list stores nothing and keeps the earlier choice. False when
  // the sound files are missing: the error has been shown, "SoundMode" = -1
  // and "SplashScreen" = 1 are stored, and the caller must request termination.
  bool Snd_Init(int position);
  // Snd_Init(position) is to follow (the stored choice, with the start-up
  // dialog switched off): the layer may start setting up that output
  // meanwhile. Nothing for "(no sound)" or a position outside the list;
  // nothing is stored.
  void prepare(int position);
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
