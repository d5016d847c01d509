#pragma once

#include <set>
#include <string>

#include "sound/audio_layer.h"

namespace mk::sound {

// The audio layer over SDL2_mixer.
//
// init only remembers the mixing rate and channel count; the device opens
// when the output type is set (a second setOutput reopens it), or at the
// first load when no output was chosen. The outputs are this platform's:
//   kOutputDirectSound        the desktop's sound server: SDL's "pulseaudio",
//                             then "pipewire", then SDL's own order;
//   kOutputWindowsMultiMedia  the plain device layer, "alsa".
// A driver the user named in SDL_AUDIODRIVER is used instead. When no device
// can be opened (no server, no sound card, a headless desktop) the layer
// falls back to SDL's silent "dummy" driver, so samples still load, a missing
// file is still seen, and playing is silent without any message.
//
// The mixer buffer is 256 frames (about 12 ms at 22,050 Hz), so a sound
// starts within that time of the call.
class SdlMixerLayer : public AudioLayer {
 public:
  static constexpr int kBufferFrames = 256;

  SdlMixerLayer() = default;
  ~SdlMixerLayer() override;  // frees what is still loaded and closes
  SdlMixerLayer(const SdlMixerLayer&) = delete;
  SdlMixerLayer& operator=(const SdlMixerLayer&) = delete;

  bool init(int mixRate, int maxSoftwareChannels, unsigned flags) override;
  bool setOutput(int outputType) override;
  SampleHandle sampleLoad(int index, const std::string& path, unsigned mode, int offset, int length) override;
  int playSound(int channel, SampleHandle sample) override;
  bool stopSound(int channel) override;
  void sampleFree(SampleHandle sample) override;
  void close() override;

  // The SDL driver in use ("pulseaudio", "alsa", "dummy", ...); empty while closed.
  const std::string& driver() const { return driver_; }

 private:
  bool openDevice(int outputType);
  void closeDevice();

  bool initialised_ = false;
  bool deviceOpen_ = false;
  int mixRate_ = kMixRate;
  int channels_ = kSoftwareChannels;
  std::string driver_;
  std::set<AudioSample*> samples_;
};

}  // namespace mk::sound
