#include "sound/sdl_audio.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ranges>
#include <set>
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

// Polls `done` for up to `limit`; whether it came true.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!done() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(10ms);
  return done();
}

const mk::sdl::Api* noSdl() { return nullptr; }

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
  void installSounds(double seconds = 0.2) {
    fs::create_directory(dir_ / "Sound");
    for (const char* name : {"Got.wav", "Move.wav", "Start.wav"}) writeTone(dir_ / "Sound" / name, seconds);
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
  SdlAudioLayer layer;
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
  SdlAudioLayer layer;
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
  SdlAudioLayer layer;
  SoundOutput sound(layer, store_, report_);
  ASSERT_TRUE(sound.Snd_Init(0));
  EXPECT_EQ(layer.driver(), "dummy");
  EXPECT_NE(sound.SampleGot, nullptr);
  sound.play(mk::engine::Sample::Got);
  sound.Snd_Shutdown();
  EXPECT_TRUE(errors_.empty());
}

// Sixty-four sounds at once fill every channel and a sixty-fifth finds none;
// stopping all of them frees every channel at once.
TEST_F(SdlAudioTest, SixtyFourSoundsFillEveryChannelAndStoppingAllFreesThem) {
  installSounds(5.0);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  SdlAudioLayer layer;
  ASSERT_TRUE(layer.init(kMixRate, kSoftwareChannels, kInitFlags));
  ASSERT_TRUE(layer.setOutput(kOutputDirectSound));
  const SampleHandle got = layer.sampleLoad(kFreeSampleSlot, "sound/GOT.WAV", kSampleMode2D, 0, 0);
  ASSERT_NE(got, nullptr) << "found whatever the letter case";
  std::set<int> used;
  for (int i = 0; i < 64; ++i) used.insert(layer.playSound(kFreeChannel, got));
  EXPECT_EQ(used, (std::set<int>{std::views::iota(0, 64).begin(), std::views::iota(0, 64).end()}));
  EXPECT_EQ(layer.playSound(kFreeChannel, got), -1);
  EXPECT_TRUE(layer.stopSound(kAllChannels));
  EXPECT_EQ(layer.playSound(kFreeChannel, got), 0);
  layer.sampleFree(got);
  EXPECT_EQ(layer.playSound(kFreeChannel, got), -1) << "freed";
}

// SDL's device thread wakes up all the time, so a device left silent for
// about a second is closed; a sound still playing keeps it open, and the
// next sound opens it again at once and reaches the output.
TEST_F(SdlAudioTest, DeviceClosesAfterASecondOfSilenceAndTheNextSoundReopensIt) {
  installSounds(1.5);
  SdlAudioLayer layer;
  SoundOutput sound(layer, store_, report_);
  ASSERT_TRUE(sound.Snd_Init(0));
  EXPECT_TRUE(layer.deviceOpen());
  const auto played = std::chrono::steady_clock::now();
  sound.play(mk::engine::Sample::Got);
  std::this_thread::sleep_for(1300ms);
  EXPECT_TRUE(layer.deviceOpen()) << "still playing";
  ASSERT_TRUE(waitFor([&] { return !layer.deviceOpen(); }, 3000ms));
  EXPECT_GE(std::chrono::steady_clock::now() - played, 2300ms) << "closed before a second of silence";
  EXPECT_EQ(layer.driver(), "disk") << "the output stays chosen";

  fs::remove(output());  // the reopened device starts the file anew
  sound.play(mk::engine::Sample::Got);
  EXPECT_TRUE(layer.deviceOpen());
  EXPECT_TRUE(waitFor([&] { return fs::exists(output()) && peakFrom(output(), 0) > 5000; }, 1000ms));
  sound.Snd_Shutdown();
  EXPECT_FALSE(layer.deviceOpen());
  EXPECT_TRUE(errors_.empty());
}

// A start that skips the start-up dialog sets up the stored output on a
// thread of its own while it goes on: SDL is loaded once, there, and
// Snd_Init takes the output it opened. "(no sound)" or no choice start
// nothing, and a layer prepared but never used goes away cleanly.
std::atomic<int> loads{0};
std::atomic<bool> loadedOnCaller{false};
std::thread::id caller;
const mk::sdl::Api* countingLoader() {
  ++loads;
  loadedOnCaller = std::this_thread::get_id() == caller;
  return mk::sdl::library();
}

TEST_F(SdlAudioTest, TheStoredOutputIsSetUpBesideTheStartAndTakenByInit) {
  installSounds();
  caller = std::this_thread::get_id();
  loads = 0;
  {
    SdlAudioLayer unused(&countingLoader);
    unused.prepare(kOutputDirectSound);
  }
  EXPECT_EQ(loads, 1);
  loads = 0;
  SdlAudioLayer layer(&countingLoader);
  SoundOutput sound(layer, store_, report_);
  sound.prepare(2);  // "(no sound)"
  sound.prepare(-1);
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(loads, 0) << "a start without sound loads SDL";
  sound.prepare(0);
  sound.prepare(1);  // only the first preparation counts
  ASSERT_TRUE(sound.Snd_Init(0));
  EXPECT_EQ(loads, 1);
  EXPECT_FALSE(loadedOnCaller) << "the start waited for SDL";
  EXPECT_FALSE(layer.driver().empty());
  EXPECT_GE(layer.playSound(kFreeChannel, sound.SampleGot), 0);
  sound.Snd_Shutdown();
  EXPECT_FALSE(layer.deviceOpen());
  EXPECT_TRUE(errors_.empty());
}

// Without SDL (a broken installation) the game is silent without a word,
// and only a missing sound file is still reported as one.
TEST_F(SdlAudioTest, WithoutSdlNothingPlaysAndOnlyAMissingFileIsReported) {
  installSounds();
  {
    SdlAudioLayer layer(&noSdl);
    SoundOutput sound(layer, store_, report_);
    EXPECT_TRUE(sound.Snd_Init(0));
    EXPECT_NE(sound.SampleGot, nullptr);
    EXPECT_EQ(layer.playSound(kFreeChannel, sound.SampleGot), -1);
    EXPECT_FALSE(layer.stopSound(kAllChannels));
    EXPECT_FALSE(layer.deviceOpen());
    sound.Snd_Shutdown();
  }
  EXPECT_TRUE(errors_.empty());

  fs::remove_all(dir_ / "Sound");
  SdlAudioLayer layer(&noSdl);
  SoundOutput sound(layer, store_, report_);
  EXPECT_FALSE(sound.Snd_Init(0));
  EXPECT_EQ(errors_.size(), 1u);
}
