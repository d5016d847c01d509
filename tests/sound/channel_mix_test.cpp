#include "sound/channel_mix.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <vector>

#include "sound/sdl_library.h"

using namespace mk::sound;

namespace {

// `frames` stereo frames of one constant level, as the device's format holds them.
Pcm level(Sint16 value, std::size_t frames) {
  std::vector<Sint16> samples(frames * 2, value);
  Pcm pcm(samples.size() * 2);
  std::memcpy(pcm.data(), samples.data(), pcm.size());
  return pcm;
}

// The mix of the next `frames` frames, as samples.
std::vector<Sint16> mixed(ChannelMix& mix, std::size_t frames, bool* anything = nullptr) {
  std::vector<Sint16> out(frames * 2, 1234);  // whatever the device's buffer held before
  const bool sounded = mix.mixInto(reinterpret_cast<Uint8*>(out.data()), out.size() * 2);
  if (anything) *anything = sounded;
  return out;
}

ChannelMix makeMix(int channels) {
  const mk::sdl::Api* sdl = mk::sdl::library();
  if (!sdl) throw std::runtime_error("SDL is not installed");
  return ChannelMix(channels, AUDIO_S16SYS, sdl->MixAudioFormat);
}

}  // namespace

// Sounds that overlap add up, a sum beyond the 16-bit range is clipped
// rather than wrapped round, and a sound ending inside a buffer leaves
// silence behind it and frees its channel.
TEST(ChannelMix, OverlappingSoundsAddUpClipAndEndInsideABuffer) {
  ChannelMix mix = makeMix(4);
  const Pcm loud = level(20000, 4);
  const Pcm quiet = level(-3000, 2);
  const Pcm low = level(-30000, 4);
  EXPECT_EQ(mix.start(-1, loud), 0);
  EXPECT_EQ(mix.start(-1, quiet), 1);
  EXPECT_EQ(mixed(mix, 1), (std::vector<Sint16>{17000, 17000}));
  EXPECT_EQ(mixed(mix, 3), (std::vector<Sint16>{17000, 17000, 20000, 20000, 20000, 20000}));
  bool anything = true;
  EXPECT_EQ(mixed(mix, 2, &anything), (std::vector<Sint16>{0, 0, 0, 0}));
  EXPECT_FALSE(anything) << "both have ended";
  EXPECT_FALSE(mix.playing());

  mix.start(-1, loud);
  mix.start(-1, loud);
  EXPECT_EQ(mixed(mix, 1), (std::vector<Sint16>{32767, 32767}));
  mix.stopAll();
  mix.start(-1, low);
  mix.start(-1, low);
  EXPECT_EQ(mixed(mix, 1), (std::vector<Sint16>{-32768, -32768}));
}

// Every channel busy: nothing more plays until one is free again; a
// channel asked for by number is taken over, a stopped one is free.
TEST(ChannelMix, SixtyFourChannelsFullTakeNoMoreUntilOneIsFree) {
  ChannelMix mix = makeMix(64);
  const Pcm tone = level(100, 64);
  for (int expected = 0; expected < 64; ++expected) ASSERT_EQ(mix.start(-1, tone), expected);
  EXPECT_EQ(mix.start(-1, tone), -1);
  EXPECT_EQ(mix.start(64, tone), -1) << "not a channel: any free one";
  EXPECT_EQ(mix.start(10, tone), 10) << "taken over";
  mix.stop(37);
  EXPECT_EQ(mix.start(-1, tone), 37);

  const Pcm other = level(100, 64);
  mix.start(5, other);
  mix.stopPlaying(tone);
  EXPECT_TRUE(mix.playing());
  EXPECT_EQ(mixed(mix, 1), (std::vector<Sint16>{100, 100})) << "only the other sound is left";
  mix.stopAll();
  EXPECT_FALSE(mix.playing());
  EXPECT_EQ(mix.start(-1, tone), 0);
}
