#include "sound/sound_output.h"

#include "settings/persistent_settings.h"

#include <string>
#include <utility>

namespace mk::sound {

SoundOutput::SoundOutput(AudioLayer& layer, settings::SettingsStore& store, ErrorReporter showError)
    : layer_(layer), store_(store), showError_(std::move(showError)) {}

bool SoundOutput::Snd_Init(int position) {
  int outputType = 0;
  if (position >= 0 && position < static_cast<int>(kSoundDrivers.size())) {
    const SoundDriverEntry& entry = kSoundDrivers[static_cast<std::size_t>(position)];
    SoundEnabled = entry.enabled;
    outputType = entry.outputType;
    settings::writeInt(store_, settings::Setting::SoundMode, entry.soundMode);
  }
  if (!SoundEnabled) return true;

  // Only reachable when set up twice; the first samples would otherwise leak.
  freeSamples();
  layer_.init(kMixRate, kSoftwareChannels, kInitFlags);
  // A position outside the list keeps the earlier choice's output.
  if (outputType != 0) layer_.setOutput(outputType);
  SampleGot = layer_.sampleLoad(kFreeSampleSlot, std::string(kSampleGotPath), kSampleMode2D, 0, 0);
  SampleMove = layer_.sampleLoad(kFreeSampleSlot, std::string(kSampleMovePath), kSampleMode2D, 0, 0);
  SampleStart = layer_.sampleLoad(kFreeSampleSlot, std::string(kSampleStartPath), kSampleMode2D, 0, 0);
  if (SampleGot) return true;

  if (showError_) showError_(kSoundFolderMessage);
  settings::writeInt(store_, settings::Setting::SoundMode, kSoundModeNone);
  settings::writeBool(store_, settings::Setting::SplashScreen, true);
  return false;
}

void SoundOutput::prepare(int position) {
  if (position < 0 || position >= static_cast<int>(kSoundDrivers.size())) return;
  const SoundDriverEntry& entry = kSoundDrivers[static_cast<std::size_t>(position)];
  if (entry.enabled) layer_.prepare(entry.outputType);
}

void SoundOutput::Snd_Play(SampleHandle sample) {
  if (SoundEnabled) layer_.playSound(kFreeChannel, sample);
}

void SoundOutput::Snd_Silence() {
  if (SoundEnabled) layer_.stopSound(kAllChannels);
}

void SoundOutput::freeSamples() {
  for (SampleHandle* handle : {&SampleGot, &SampleMove, &SampleStart}) {
    if (!*handle) continue;
    layer_.sampleFree(*handle);
    *handle = nullptr;
  }
}

void SoundOutput::Snd_Shutdown() {
  layer_.sampleFree(SampleGot);
  layer_.sampleFree(SampleMove);
  layer_.sampleFree(SampleStart);
  SampleGot = SampleMove = SampleStart = nullptr;
  layer_.close();
}

void SoundOutput::play(engine::Sample sample) {
  switch (sample) {
    case engine::Sample::Got: Snd_Play(SampleGot); break;
    case engine::Sample::Move: Snd_Play(SampleMove); break;
    case engine::Sample::Start: Snd_Play(SampleStart); break;
  }
}

}  // namespace mk::sound
