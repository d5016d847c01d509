#pragma once

#include <string>

namespace mk::sound {

// A loaded sample, owned by the layer that loaded it until sampleFree.
struct AudioSample {
  virtual ~AudioSample() = default;
};
using SampleHandle = AudioSample*;  // null: not loaded

// The values the sound operations pass to the library.
inline constexpr int kMixRate = 22050;
inline constexpr int kSoftwareChannels = 64;
inline constexpr unsigned kInitFlags = 0;
inline constexpr int kOutputWindowsMultiMedia = 1;  // the plain device layer
inline constexpr int kOutputDirectSound = 2;        // the desktop's sound server
inline constexpr int kFreeSampleSlot = -1;
inline constexpr unsigned kSampleMode2D = 0x2000;
inline constexpr int kFreeChannel = -1;
inline constexpr int kAllChannels = -3;

// The audio library, in the shape of the calls the sound operations make.
// Every call returns at once and is harmless in any state: loading before
// init gives null, playing or freeing null does nothing, closing a library
// that is not open does nothing.
class AudioLayer {
 public:
  virtual ~AudioLayer() = default;
  // The output of `outputType` is about to be set up (init, then setOutput
  // with that type, follow): the layer may start opening it in the
  // background now, so that those calls find it ready. A layer with nothing
  // to start ignores it.
  virtual void prepare(int /*outputType*/) {}
  virtual bool init(int mixRate, int maxSoftwareChannels, unsigned flags) = 0;
  // Chooses the output; it arrives after init.
  virtual bool setOutput(int outputType) = 0;
  // The whole file at path (offset and length 0); null when it cannot be loaded.
  virtual SampleHandle sampleLoad(int index, const std::string& path, unsigned mode, int offset, int length) = 0;
  // Channel kFreeChannel: any free channel, so sounds overlap. The channel
  // used, or -1 when nothing plays.
  virtual int playSound(int channel, SampleHandle sample) = 0;
  // Channel kAllChannels: every channel.
  virtual bool stopSound(int channel) = 0;
  virtual void sampleFree(SampleHandle sample) = 0;
  virtual void close() = 0;
};

}  // namespace mk::sound
