#include "sound/sdl_audio.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "files/find_file.h"

namespace mk::sound {

namespace {

struct SdlSample : AudioSample {
  Pcm pcm;  // empty when SDL is missing: nothing ever plays it
};

bool userChoseDriver() {
  const char* named = std::getenv("SDL_AUDIODRIVER");
  return named && *named;
}

// The WAV file at `path` in `format`, converted once here so that the
// device's callback only adds; nothing when SDL cannot read or convert it.
std::optional<Pcm> loadWav(const sdl::Api& sdl, const std::string& path, const SDL_AudioSpec& format) {
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!sdl.LoadWAV_RW(sdl.RWFromFile(path.c_str(), "rb"), 1, &spec, &data, &length)) return std::nullopt;
  std::optional<Pcm> pcm;
  SDL_AudioCVT cvt{};
  if (sdl.BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, format.format, format.channels,
                        format.freq) >= 0) {
    // SDL converts in place, in a buffer len_mult times the file's size.
    Pcm buffer(std::size_t(length) * static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(buffer.data(), data, length);
    cvt.buf = buffer.data();
    cvt.len = static_cast<int>(length);
    if (sdl.ConvertAudio(&cvt) == 0) {
      buffer.resize(static_cast<std::size_t>(cvt.len_cvt));
      pcm = std::move(buffer);
    }
  }
  sdl.FreeWAV(data);
  return pcm;
}

}  // namespace

// The channels, safe to change: the mutex keeps the watcher from closing the
// device meanwhile, and SDL's device lock keeps the callback out while the
// device runs. A device opened while this is held was closed when it was
// taken, so nothing is unlocked for it.
class SdlAudioLayer::ChannelsLocked {
 public:
  explicit ChannelsLocked(SdlAudioLayer& layer) : layer_(layer), lock_(layer.mutex_), device_(layer.device_) {
    if (device_ != 0) layer_.sdl_->LockAudioDevice(device_);
  }
  ~ChannelsLocked() {
    if (device_ != 0) layer_.sdl_->UnlockAudioDevice(device_);
  }
  ChannelsLocked(const ChannelsLocked&) = delete;
  ChannelsLocked& operator=(const ChannelsLocked&) = delete;

 private:
  SdlAudioLayer& layer_;
  std::lock_guard<std::mutex> lock_;
  SDL_AudioDeviceID device_;
};

SdlAudioLayer::~SdlAudioLayer() {
  finishPreparing();
  closeOutput();
  for (AudioSample* sample : samples_) delete sample;
  samples_.clear();
}

void SdlAudioLayer::finishPreparing() {
  if (preparing_.valid()) preparing_.get();
}

bool SdlAudioLayer::init(int mixRate, int maxSoftwareChannels, unsigned /*flags*/) {
  finishPreparing();
  if (mixRate <= 0 || maxSoftwareChannels <= 0) return false;
  // An output prepared for other settings than these is opened anew.
  if (preparedOutput_ != 0 && (mixRate != mixRate_ || maxSoftwareChannels != channels_)) {
    closeOutput();
    preparedOutput_ = 0;
  }
  mixRate_ = mixRate;
  channels_ = maxSoftwareChannels;
  initialised_ = true;
  // SDL is loaded here, or by prepare, not before: a start without sound never maps it.
  if (!sdl_) sdl_ = loader_();
  return sdl_ != nullptr;
}

void SdlAudioLayer::prepare(int outputType) {
  if (initialised_ || preparing_.valid()) return;
  // Nothing else touches the layer until init, which waits for this.
  preparing_ = std::async(std::launch::async, [this, outputType] {
    sdl_ = loader_();
    if (sdl_ && openOutput(outputType)) preparedOutput_ = outputType;
  });
}

bool SdlAudioLayer::setOutput(int outputType) {
  finishPreparing();
  if (!initialised_ || !sdl_) return false;
  const int prepared = std::exchange(preparedOutput_, 0);
  if (prepared == outputType && outputOpen_) return true;
  closeOutput();
  return openOutput(outputType);
}

bool SdlAudioLayer::openOutput(int outputType) {
  // SDL must not take over SIGINT/SIGTERM from the program.
  sdl_->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  sdl_->SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Marsh Keeper Simulator");

  std::vector<const char*> drivers;  // nullptr: as SDL_AUDIODRIVER says; "": SDL's own order
  if (userChoseDriver())
    drivers = {nullptr};
  else if (outputType == kOutputWindowsMultiMedia)
    drivers = {"alsa"};
  else
    drivers = {"pulseaudio", "pipewire", ""};
  drivers.push_back("dummy");

  // No changes allowed: SDL converts to whatever the hardware takes, so
  // the format the samples are converted to stays the device's through
  // every reopening.
  format_ = {};
  format_.freq = mixRate_;
  format_.format = AUDIO_S16SYS;
  format_.channels = 2;
  format_.samples = kBufferFrames;
  format_.callback = &SdlAudioLayer::callback;
  format_.userdata = this;
  mix_ = std::make_unique<ChannelMix>(channels_, format_.format, sdl_->MixAudioFormat);

  for (const char* name : drivers) {
    if (name) sdl_->SetHintWithPriority(SDL_HINT_AUDIODRIVER, name, SDL_HINT_OVERRIDE);
    if (sdl_->InitSubSystem(SDL_INIT_AUDIO) != 0) continue;
    // The driver is chosen once the subsystem runs: the hint has done its work.
    sdl_->ResetHint(SDL_HINT_AUDIODRIVER);
    bool opened = false;
    {
      const std::lock_guard lock(mutex_);
      opened = openDevice();
    }
    if (opened) {
      outputOpen_ = true;
      const char* current = sdl_->GetCurrentAudioDriver();
      driver_ = current ? current : "";
      stopWatching_ = false;
      watcher_ = std::thread([this] { watchForIdle(); });
      return true;
    }
    sdl_->QuitSubSystem(SDL_INIT_AUDIO);
  }
  sdl_->ResetHint(SDL_HINT_AUDIODRIVER);
  return false;
}

void SdlAudioLayer::closeOutput() {
  if (!outputOpen_) return;
  {
    const std::lock_guard lock(mutex_);
    stopWatching_ = true;
  }
  wake_.notify_all();
  watcher_.join();
  {
    const std::lock_guard lock(mutex_);
    closeDevice();
  }
  sdl_->QuitSubSystem(SDL_INIT_AUDIO);
  outputOpen_ = false;
  driver_.clear();
}

bool SdlAudioLayer::openDevice() {
  SDL_AudioSpec obtained{};
  device_ = sdl_->OpenAudioDevice(nullptr, 0, &format_, &obtained, 0);
  if (device_ == 0) return false;
  // The quiet second counts from the opening.
  lastPlayed_ = Clock::now();
  sdl_->PauseAudioDevice(device_, 0);
  wake_.notify_all();
  return true;
}

void SdlAudioLayer::closeDevice() {
  if (device_ == 0) return;
  sdl_->CloseAudioDevice(device_);  // returns once the callback has run for the last time
  device_ = 0;
  mix_->stopAll();
}

void SdlAudioLayer::callback(void* layer, Uint8* stream, int length) {
  auto* self = static_cast<SdlAudioLayer*>(layer);
  if (self->mix_->mixInto(stream, static_cast<std::size_t>(length)))
    self->lastMixed_ = Clock::now().time_since_epoch().count();
}

// Closing an idle device. SDL's device cannot be closed from its own
// callback (closing waits for the thread the callback runs on), and when the
// program is idle no call comes that could close it, so a thread of the
// layer's own does: it sleeps while the device is closed, is woken when a
// play opens it, and while it runs wakes at the end of each quiet period,
// counted from the later of the last play and the last buffer the callback
// mixed a sound into. It closes the device under the mutex every play holds,
// and a play stamps its time there, so a play either finds the device open
// with a whole quiet period ahead or opens it again; a sound still playing
// is mixed into every buffer and keeps pushing the end away.
void SdlAudioLayer::watchForIdle() {
  std::unique_lock lock(mutex_);
  while (!stopWatching_) {
    if (device_ == 0) {
      wake_.wait(lock);
      continue;
    }
    const Clock::time_point quietUntil = std::max(lastPlayed_, lastMixed()) + kIdleClose;
    if (Clock::now() < quietUntil)
      wake_.wait_until(lock, quietUntil);
    else
      closeDevice();
  }
}

SampleHandle SdlAudioLayer::sampleLoad(int /*index*/, const std::string& path, unsigned /*mode*/,
                                       int /*offset*/, int /*length*/) {
  finishPreparing();
  if (!initialised_) return nullptr;
  // Loading converts the file to the device's format, so it needs an open output.
  if (sdl_ && !outputOpen_ && !openOutput(0)) return nullptr;
  const auto found = files::findFileIgnoringCase(path);
  if (!found) return nullptr;
  auto sample = std::make_unique<SdlSample>();
  if (sdl_) {
    std::optional<Pcm> pcm = loadWav(*sdl_, found->string(), format_);
    if (!pcm) return nullptr;
    sample->pcm = std::move(*pcm);
  }
  samples_.insert(sample.get());
  return sample.release();
}

int SdlAudioLayer::playSound(int channel, SampleHandle sample) {
  finishPreparing();
  if (!outputOpen_ || !sample || !samples_.contains(sample)) return -1;
  const ChannelsLocked locked(*this);
  lastPlayed_ = Clock::now();
  const int used = mix_->start(channel, static_cast<SdlSample*>(sample)->pcm);
  // A closed device runs no callback: the channel is set before the device
  // opens, so its very first buffer carries the sound.
  if (used >= 0 && device_ == 0 && !openDevice()) {
    mix_->stop(used);
    return -1;
  }
  return used;
}

bool SdlAudioLayer::stopSound(int channel) {
  finishPreparing();
  if (!outputOpen_) return false;
  if (channel != kAllChannels && (channel < 0 || channel >= mix_->channelCount())) return false;
  const ChannelsLocked locked(*this);
  if (channel == kAllChannels)
    mix_->stopAll();
  else
    mix_->stop(channel);
  return true;
}

void SdlAudioLayer::sampleFree(SampleHandle sample) {
  finishPreparing();
  if (!sample || samples_.erase(sample) == 0) return;
  if (mix_) {
    const ChannelsLocked locked(*this);
    mix_->stopPlaying(static_cast<SdlSample*>(sample)->pcm);
  }
  delete sample;
}

void SdlAudioLayer::close() {
  finishPreparing();
  closeOutput();
  initialised_ = false;
}

SdlAudioLayer::Clock::time_point SdlAudioLayer::lastMixed() const {
  return Clock::time_point(Clock::duration(lastMixed_.load()));
}

bool SdlAudioLayer::deviceOpen() {
  finishPreparing();
  const std::lock_guard lock(mutex_);
  return device_ != 0;
}

}  // namespace mk::sound
