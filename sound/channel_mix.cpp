#include "sound/channel_mix.h"

#include <algorithm>
#include <cstring>

namespace mk::sound {

ChannelMix::ChannelMix(int channels, SDL_AudioFormat format, MixFunction mix)
    : channels_(static_cast<std::size_t>(std::max(channels, 0))), format_(format), mix_(mix) {}

int ChannelMix::start(int channel, const Pcm& pcm) {
  if (channel < 0 || channel >= channelCount()) {
    const auto free =
        std::find_if(channels_.begin(), channels_.end(), [](const Channel& c) { return !c.pcm; });
    if (free == channels_.end()) return -1;
    channel = static_cast<int>(free - channels_.begin());
  }
  channels_[static_cast<std::size_t>(channel)] = {&pcm, 0};
  return channel;
}

void ChannelMix::stop(int channel) {
  if (channel >= 0 && channel < channelCount()) channels_[static_cast<std::size_t>(channel)] = {};
}

void ChannelMix::stopAll() { std::fill(channels_.begin(), channels_.end(), Channel{}); }

void ChannelMix::stopPlaying(const Pcm& pcm) {
  for (Channel& c : channels_)
    if (c.pcm == &pcm) c = {};
}

bool ChannelMix::playing() const {
  return std::any_of(channels_.begin(), channels_.end(), [](const Channel& c) { return c.pcm != nullptr; });
}

bool ChannelMix::mixInto(Uint8* out, std::size_t length) {
  // Every format the device is opened with is signed, so silence is zero.
  std::memset(out, 0, length);
  bool mixed = false;
  for (Channel& c : channels_) {
    if (!c.pcm) continue;
    const std::size_t part = std::min(length, c.pcm->size() - c.at);
    mix_(out, c.pcm->data() + c.at, format_, static_cast<Uint32>(part), SDL_MIX_MAXVOLUME);
    c.at += part;
    if (c.at >= c.pcm->size()) c = {};
    mixed = true;
  }
  return mixed;
}

}  // namespace mk::sound
