#include "sound/sdl_audio.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "settings/settings_store.h"
#include "sound/sound_output.h"

namespace fs = std::filesystem;
using namespace mk::sound;
using namespace std::chrono_literals;

namespace {

void put16(std::ofstream& out, std::uint16_t v) { out.put(char(v & 0xff)).put(char(v >> 8)); }
void put32(std::ofstream& out, std::uint32_t v) {
  put16(out, std::uint16_t(v & 0xffff));
  put16(out, std::uint16_t(v >> 16));
}

// A mono 16-bit PCM tone at 22,050 Hz.
void writeTone(const fs::path& path, double seconds) {
  const std::uint32_t frames = std::uint32_t(seconds * 22050);
  std::ofstream out(path, std::ios::binary);
  out.write("RIFF", 4);
  put32(out, 36 + frames * 2);
  out.write("WAVEfmt ", 8);
  put32(out, 16);
  put16(out, 1);
  put16(out, 1);
  put32(out, 22050);
  put32(out, 22050 * 2);
  put16(out, 2);
  put16(out, 16);
  out.write("data", 4);
  put32(out, frames * 2);
  for (std::uint32_t i = 0; i < frames; ++i)
    put16(out, std::uint16_t(std::int16_t(12000 * std::sin(i * 2 * M_PI * 440 / 22050))));
}

std::vector<std::int16_t> readRaw(const fs::path& path, std::size_t fromByte) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(std::streamoff(fromByte));
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::int16_t> samples(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = std::int16_t(std::uint8_t(bytes[2 * i]) | (std::uint8_t(bytes[2 * i + 1]) << 8));
  return samples;
}

int peak(const std::vector<std::int16_t>& samples) {
  int most = 0;
  for (std::int16_t s : samples) most = std::max(most, std::abs(int(s)));
  return most;
}

// Runs each case in a fresh folder holding (or not) the Sound folder, with
// SDL's disk driver writing the mixed output to a file.
class SdlAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "mk-sound-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    previous_ = fs::current_path();
    fs::current_path(dir_);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (dir_ / "out.raw").c_str(), 1);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }
  void installSounds(double gotSeconds) {
    fs::create_directory(dir_ / "Sound");
    writeTone(dir_ / "Sound" / "Got.wav", gotSeconds);
    writeTone(dir_ / "Sound" / "Move.wav", 0.05);
    writeTone(dir_ / "Sound" / "Start.wav", 0.05);
  }
  std::size_t outputBytes() const { return fs::file_size(dir_ / "out.raw"); }

  fs::path dir_;
  fs::path previous_;
  mk::settings::MemorySettingsStore store_;
  std::vector<std::string> errors_;
};

}  // namespace

// What a player hears is what the device receives: after Snd_Play the
// output must carry the sample, not just report success.
TEST_F(SdlAudioTest, PlayedSampleReachesTheOutputDevice) {
  installSounds(0.2);
  SdlMixerLayer layer;
  SoundOutput sound(layer, store_, [&](std::string_view t) { errors_.emplace_back(t); });
  ASSERT_TRUE(sound.Snd_Init("Microsoft DirectSound"));
  EXPECT_EQ(layer.driver(), "disk");
  std::this_thread::sleep_for(100ms);
  const std::size_t before = outputBytes();
  EXPECT_EQ(peak(readRaw(dir_ / "out.raw", 0)), 0);  // silence until something plays

  sound.play(mk::engine::Sample::Got);
  std::this_thread::sleep_for(500ms);
  sound.Snd_Shutdown();
  EXPECT_GT(peak(readRaw(dir_ / "out.raw", before)), 5000);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SdlAudioTest, SoundsOverlapAndSilenceStopsThemAll) {
  installSounds(3.0);
  SdlMixerLayer layer;
  SoundOutput sound(layer, store_, nullptr);
  ASSERT_TRUE(sound.Snd_Init("Windows MultiMedia"));
  const int first = layer.playSound(kFreeChannel, sound.SampleGot);
  const int second = layer.playSound(kFreeChannel, sound.SampleGot);
  EXPECT_GE(first, 0);
  EXPECT_GE(second, 0);
  EXPECT_NE(first, second);
  std::this_thread::sleep_for(150ms);
  sound.Snd_Silence();
  // Whatever was already mixed into the device's buffers may still arrive.
  const std::size_t stopped = outputBytes() + 22050 * 4 / 5;
  std::this_thread::sleep_for(600ms);
  sound.Snd_Shutdown();
  ASSERT_GT(outputBytes(), stopped);
  EXPECT_GT(peak(readRaw(dir_ / "out.raw", 0)), 5000);
  EXPECT_EQ(peak(readRaw(dir_ / "out.raw", stopped)), 0);
}

TEST_F(SdlAudioTest, MissingSoundFolderGivesNullFirstSampleAndTheError) {
  SdlMixerLayer layer;
  SoundOutput sound(layer, store_, [&](std::string_view t) { errors_.emplace_back(t); });
  EXPECT_FALSE(sound.Snd_Init("Microsoft DirectSound"));
  EXPECT_EQ(sound.SampleGot, nullptr);
  EXPECT_EQ(errors_.size(), 1u);
  EXPECT_EQ(store_.values().at("SoundMode"), "-1");
  sound.Snd_Shutdown();
}

// A machine whose device cannot be opened still loads the samples (so a
// missing file is still told apart) and plays silently, without a message.
TEST_F(SdlAudioTest, UnopenableDeviceFallsBackToSilentDriver) {
  installSounds(0.1);
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlMixerLayer layer;
  SoundOutput sound(layer, store_, [&](std::string_view t) { errors_.emplace_back(t); });
  ASSERT_TRUE(sound.Snd_Init("Microsoft DirectSound"));
  EXPECT_EQ(layer.driver(), "dummy");
  EXPECT_NE(sound.SampleGot, nullptr);
  sound.play(mk::engine::Sample::Got);
  sound.Snd_Shutdown();
  EXPECT_TRUE(errors_.empty());
}

// The skin's files may differ in letter case from the names the program uses.
TEST_F(SdlAudioTest, SampleFileFoundWithoutRegardToCase) {
  installSounds(0.1);
  fs::rename(dir_ / "Sound" / "Got.wav", dir_ / "Sound" / "GOT.WAV");
  SdlMixerLayer layer;
  ASSERT_TRUE(layer.init(kMixRate, kSoftwareChannels, 0));
  ASSERT_TRUE(layer.setOutput(kOutputDirectSound));
  SampleHandle got = layer.sampleLoad(kFreeSampleSlot, "Sound/Got.wav", kSampleMode2D, 0, 0);
  EXPECT_NE(got, nullptr);
  layer.sampleFree(got);
  layer.sampleFree(nullptr);
  layer.close();
  layer.close();
}

TEST(SdlMixerLayer, CallsBeforeInitAreHarmless) {
  SdlMixerLayer layer;
  EXPECT_EQ(layer.sampleLoad(kFreeSampleSlot, "Sound/Got.wav", kSampleMode2D, 0, 0), nullptr);
  EXPECT_EQ(layer.playSound(kFreeChannel, nullptr), -1);
  EXPECT_FALSE(layer.stopSound(kAllChannels));
  layer.sampleFree(nullptr);
  layer.close();
}
