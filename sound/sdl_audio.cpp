#include "sound/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

#include "files/find_file.h"

namespace mk::sound {

namespace {

struct SdlSample : AudioSample {
  explicit SdlSample(Mix_Chunk* c) : chunk(c) {}
  ~SdlSample() override { Mix_FreeChunk(chunk); }
  Mix_Chunk* chunk;
};

bool userChoseDriver() {
  const char* named = SDL_getenv("SDL_AUDIODRIVER");
  return named && *named;
}

}  // namespace

SdlMixerLayer::~SdlMixerLayer() {
  for (AudioSample* sample : samples_) delete sample;
  samples_.clear();
  close();
}

bool SdlMixerLayer::init(int mixRate, int maxSoftwareChannels, unsigned /*flags*/) {
  if (mixRate <= 0 || maxSoftwareChannels <= 0) return false;
  mixRate_ = mixRate;
  channels_ = maxSoftwareChannels;
  initialised_ = true;
  return true;
}

bool SdlMixerLayer::setOutput(int outputType) {
  if (!initialised_) return false;
  closeDevice();
  return openDevice(outputType);
}

bool SdlMixerLayer::openDevice(int outputType) {
  // SDL must not take over SIGINT/SIGTERM from the program.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Marsh Keeper Simulator");

  std::vector<const char*> drivers;  // nullptr: as SDL_AUDIODRIVER says; "": SDL's own order
  if (userChoseDriver())
    drivers = {nullptr};
  else if (outputType == kOutputWindowsMultiMedia)
    drivers = {"alsa"};
  else
    drivers = {"pulseaudio", "pipewire", ""};
  drivers.push_back("dummy");

  for (const char* name : drivers) {
    if (name) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, name, SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) continue;
    if (Mix_OpenAudioDevice(mixRate_, AUDIO_S16SYS, 2, kBufferFrames, nullptr, 0) == 0) {
      Mix_AllocateChannels(channels_);
      deviceOpen_ = true;
      const char* current = SDL_GetCurrentAudioDriver();
      driver_ = current ? current : "";
      return true;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  return false;
}

void SdlMixerLayer::closeDevice() {
  if (!deviceOpen_) return;
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  deviceOpen_ = false;
  driver_.clear();
}

SampleHandle SdlMixerLayer::sampleLoad(int /*index*/, const std::string& path, unsigned /*mode*/, int /*offset*/,
                                       int /*length*/) {
  if (!initialised_) return nullptr;
  // Loading converts the file to the device's format, so it needs an open device.
  if (!deviceOpen_ && !openDevice(0)) return nullptr;
  const auto found = files::findFileIgnoringCase(path);
  if (!found) return nullptr;
  Mix_Chunk* chunk = Mix_LoadWAV(found->string().c_str());
  if (!chunk) return nullptr;
  auto* sample = new SdlSample(chunk);
  samples_.insert(sample);
  return sample;
}

int SdlMixerLayer::playSound(int channel, SampleHandle sample) {
  if (!deviceOpen_ || !sample || !samples_.contains(sample)) return -1;
  const int target = channel >= 0 && channel < channels_ ? channel : -1;
  return Mix_PlayChannel(target, static_cast<SdlSample*>(sample)->chunk, 0);
}

bool SdlMixerLayer::stopSound(int channel) {
  if (!deviceOpen_) return false;
  if (channel == kAllChannels) {
    Mix_HaltChannel(-1);
    return true;
  }
  if (channel < 0 || channel >= channels_) return false;
  Mix_HaltChannel(channel);
  return true;
}

void SdlMixerLayer::sampleFree(SampleHandle sample) {
  if (!sample || samples_.erase(sample) == 0) return;
  delete sample;  // halts any channel still playing it
}

void SdlMixerLayer::close() {
  closeDevice();
  initialised_ = false;
}

}  // namespace mk::sound
