#pragma once

#include <SDL_audio.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mk::sound {

// A sample's sound, already in the device's format.
using Pcm = std::vector<std::uint8_t>;

// The channels the samples play on, and their mixing into one device
// buffer. Not locked: the audio layer holds SDL's device lock around every
// call while the device runs.
class ChannelMix {
 public:
  // SDL's mixing primitive: adds a buffer to another, clipped to the format's range.
  using MixFunction = void (*)(Uint8* dst, const Uint8* src, SDL_AudioFormat format, Uint32 len, int volume);

  ChannelMix(int channels, SDL_AudioFormat format, MixFunction mix);

  // Starts `pcm` from its beginning on `channel`, or on the lowest free
  // channel when `channel` is not one of them. The channel used, or -1 when
  // every channel is busy.
  int start(int channel, const Pcm& pcm);
  void stop(int channel);
  void stopAll();
  // Stops every channel playing `pcm`, before it goes away.
  void stopPlaying(const Pcm& pcm);
  bool playing() const;
  int channelCount() const { return static_cast<int>(channels_.size()); }

  // Fills `out` with silence plus every playing channel's next `length`
  // bytes; a channel that reaches its end is free again. True when anything
  // was mixed in.
  bool mixInto(Uint8* out, std::size_t length);

 private:
  struct Channel {
    const Pcm* pcm = nullptr;  // null: free
    std::size_t at = 0;
  };

  std::vector<Channel> channels_;
  SDL_AudioFormat format_;
  MixFunction mix_;
};

}  // namespace mk::sound
