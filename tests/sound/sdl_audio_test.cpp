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

// A mono 16-bit PCM tone at 22,050 Hz.
void writeTone(const fs::path& path, double seconds) {
  const std::uint32_t frames = std::uint32_t(seconds * 22050);
  std::vector<std::int16_t> samples(frames);
  for (std::uint32_t i = 0; i < frames; ++i) samples[i] = std::int16_t(12000 * std::sin(i * 2 * M_PI * 440 / 22050));
  const std::uint32_t header[] = {0x46464952, 36 + frames * 2, 0x45564157, 0x20746d66, 16, 0x00010001,
                                  22050,      22050 * 2,       0x00100002, 0x61746164, frames * 2};
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(header), sizeof header);  // little-endian, like the machine
  out.write(reinterpret_cast<const char*>(samples.data()), std::streamsize(samples.size() * 2));
}

// The loudest sample the output file holds from byte `from` on.
int peakFrom(const fs::path& path, std::size_t from) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(std::streamoff(from));
  int most = 0;
  std::int16_t s = 0;
  while (in.read(reinterpret_cast<char*>(&s), 2)) most = std::max(most, std::abs(int(s)));
  return most;
}

// Each case runs in a fresh folder, with SDL's disk driver writing the mixed
// output to a file: real mixing, no sound card.
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
  void installSounds() {
    fs::create_directory(dir_ / "Sound");
    for (const char* name : {"Got.wav", "Move.wav", "Start.wav"}) writeTone(dir_ / "Sound" / name, 0.2);
  }
  fs::path output() const { return dir_ / "out.raw"; }

  fs::path dir_;
  fs::path previous_;
  mk::settings::MemorySettingsStore store_;
  std::vector<std::string> errors_;
  SoundOutput::ErrorReporter report_ = [this](std::string_view text) { errors_.emplace_back(text); };
};

}  // namespace

// What a player hears is what the device receives: after Snd_Play the
// output must carry the sample, not just report success.
TEST_F(SdlAudioTest, PlayedSampleReachesTheOutputDevice) {
  installSounds();
  SdlMixerLayer layer;
  SoundOutput sound(layer, store_, report_);
  ASSERT_TRUE(sound.Snd_Init(0));
  EXPECT_EQ(layer.driver(), "disk");
  std::this_thread::sleep_for(100ms);
  const std::size_t before = fs::file_size(output());
  EXPECT_EQ(peakFrom(output(), 0), 0);  // silence until something plays

  sound.play(mk::engine::Sample::Got);
  std::this_thread::sleep_for(500ms);
  sound.Snd_Shutdown();
  EXPECT_GT(peakFrom(output(), before), 5000);
  EXPECT_TRUE(errors_.empty());
}

TEST_F(SdlAudioTest, MissingSoundFolderGivesNullFirstSampleAndTheError) {
  SdlMixerLayer layer;
  SoundOutput sound(layer, store_, report_);
  EXPECT_FALSE(sound.Snd_Init(1));
  EXPECT_EQ(sound.SampleGot, nullptr);
  EXPECT_EQ(errors_.size(), 1u);
  sound.Snd_Shutdown();
  sound.Snd_Shutdown();
}

// A machine whose device cannot be opened still loads the samples (so a
// missing file is still told apart) and plays silently, without a message.
TEST_F(SdlAudioTest, UnopenableDeviceFallsBackToSilentDriver) {
  installSounds();
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  SdlMixerLayer layer;
  SoundOutput sound(layer, store_, report_);
  ASSERT_TRUE(sound.Snd_Init(0));
  EXPECT_EQ(layer.driver(), "dummy");
  EXPECT_NE(sound.SampleGot, nullptr);
  sound.play(mk::engine::Sample::Got);
  sound.Snd_Shutdown();
  EXPECT_TRUE(errors_.empty());
}
