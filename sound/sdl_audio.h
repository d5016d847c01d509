#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "sound/audio_layer.h"
#include "sound/channel_mix.h"
#include "sound/sdl_library.h"

namespace mk::sound {

// The audio layer over SDL's own audio device: WAV files converted once, at
// load, to the device's format, and mixed on up to the init call's number
// of channels by SDL's mixing primitive in the device's callback.
//
// init remembers the mixing rate and channel count and loads SDL; the
// output opens when the output type is set (a second setOutput reopens it),
// or at the first load when no output was chosen. The outputs are this platform's:
//   kOutputDirectSound        the desktop's sound server: SDL's "pulseaudio",
//                             then "pipewire", then SDL's own order;
//   kOutputWindowsMultiMedia  the plain device layer, "alsa".
// A driver the user named in SDL_AUDIODRIVER is used instead. When no device
// can be opened (no server, no sound card, a headless desktop) the layer
// falls back to SDL's silent "dummy" driver, so samples still load, a missing
// file is still seen, and playing is silent without any message.
//
// The device buffer is 256 frames (about 12 ms at 22,050 Hz), so a sound
// starts within that time of the call.
//
// An idle device costs nothing: SDL's device thread wakes about 90 times a
// second even with nothing to play, so once the mix has been silent for
// kIdleClose the device is closed (the driver and the converted samples
// stay) and the next play opens it again.
//
// Without SDL (a broken installation: the package depends on it) nothing
// plays, without any message beyond the loader's line on the standard
// error: init and setOutput fail, and a load gives a silent sample when the
// file is there, so only a missing sound file is reported as one.
class SdlAudioLayer : public AudioLayer {
 public:
  static constexpr int kBufferFrames = 256;
  static constexpr std::chrono::milliseconds kIdleClose{1000};

  // SDL is taken from `loader` at init, not before.
  explicit SdlAudioLayer(sdl::Loader loader = &sdl::library) : loader_(loader) {}
  ~SdlAudioLayer() override;  // frees what is still loaded and closes
  SdlAudioLayer(const SdlAudioLayer&) = delete;
  SdlAudioLayer& operator=(const SdlAudioLayer&) = delete;

  // Loads SDL and opens the output on a thread of its own: loading maps
  // some fifty libraries and a sound server takes a moment to answer,
  // which the rest of the start need not wait for. init waits for it;
  // setOutput of the same type then keeps what it opened.
  void prepare(int outputType) override;
  bool init(int mixRate, int maxSoftwareChannels, unsigned flags) override;
  bool setOutput(int outputType) override;
  SampleHandle sampleLoad(int index, const std::string& path, unsigned mode, int offset, int length) override;
  int playSound(int channel, SampleHandle sample) override;
  bool stopSound(int channel) override;
  void sampleFree(SampleHandle sample) override;
  void close() override;

  // The SDL driver in use ("pulseaudio", "alsa", "dummy", ...); empty while
  // no output is open.
  const std::string& driver() const { return driver_; }
  // Whether SDL's device runs now: false once it has been idle-closed.
  bool deviceOpen();
  using Clock = std::chrono::steady_clock;
  // When the device's callback last mixed a sound into a buffer, which SDL
  // then hands to the driver: the moment a sound reaches the device.
  Clock::time_point lastMixed() const;

 private:
  class ChannelsLocked;

  // Waits for prepare's work, if any: every call but prepare's starts with it.
  void finishPreparing();
  bool openOutput(int outputType);
  void closeOutput();
  // With mutex_ held.
  bool openDevice();
  void closeDevice();
  static void callback(void* layer, Uint8* stream, int length);
  void watchForIdle();

  sdl::Loader loader_;
  const sdl::Api* sdl_ = nullptr;
  std::future<void> preparing_;  // prepare's work; its end is waited for at init or destruction
  int preparedOutput_ = 0;       // the output type prepare opened; 0: none
  bool initialised_ = false;
  bool outputOpen_ = false;  // SDL's audio runs on driver_; the device may be idle-closed
  int mixRate_ = kMixRate;
  int channels_ = kSoftwareChannels;
  std::string driver_;
  SDL_AudioSpec format_{};  // what the samples are converted to
  std::set<AudioSample*> samples_;

  // The device and the channels are shared with the watcher, which closes
  // the device, and the channels with the device's callback, which mixes
  // them under SDL's device lock.
  std::mutex mutex_;
  SDL_AudioDeviceID device_ = 0;  // 0: closed
  std::unique_ptr<ChannelMix> mix_;
  Clock::time_point lastPlayed_;          // the last play, or the device's opening
  std::atomic<Clock::rep> lastMixed_{0};  // written by the callback
  std::condition_variable wake_;
  bool stopWatching_ = false;
  std::thread watcher_;
};

}  // namespace mk::sound
