// How long after Snd_Play the sound reaches the output device: the time
// until the device's callback has mixed it into a buffer, which SDL hands to
// the driver at once. SDL's disk driver paces the device as a sound card
// would. (The file it writes cannot tell the time: it writes through a C
// stream that holds four buffers, 46 ms, before anything reaches the file.)
// The target is about 12 ms (one 256-frame buffer at 22,050 Hz), for a
// device that runs and for one closed after a second of silence, which the
// sound opens again first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "settings/settings_store.h"
#include "sound/sdl_audio.h"
#include "sound/sound_output.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Each iteration's time, and the longest of them: the target is for every sound.
void record(benchmark::State& state, double seconds, double& longest) {
  state.SetIterationTime(seconds);
  longest = std::max(longest, seconds);
  state.counters["longest_ms"] = longest * 1000;
}

// The game's sounds on the disk driver, in a folder of their own.
class DiskSound {
 public:
  explicit DiskSound(benchmark::State& state) {
    std::string pattern = (fs::temp_directory_path() / "mk-latency-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    output_ = dir_ / "out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    fs::copy(fs::path(MK_DATA_DIR) / "Sound", dir_ / "Sound");
    previous_ = fs::current_path();
    fs::current_path(dir_);
    if (!sound_.Snd_Init(0)) state.SkipWithError("the sound files did not load");
  }
  ~DiskSound() {
    sound_.Snd_Shutdown();
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }
  DiskSound(const DiskSound&) = delete;
  DiskSound& operator=(const DiskSound&) = delete;

  // Plays and returns the seconds until the sound was mixed into a buffer
  // for the driver. Nothing may be playing before.
  double playUntilMixed() {
    const auto start = Clock::now();
    sound_.play(mk::engine::Sample::Got);
    while (layer_.lastMixed() < start) std::this_thread::sleep_for(std::chrono::microseconds(200));
    return std::chrono::duration<double>(layer_.lastMixed() - start).count();
  }

  mk::sound::SdlAudioLayer& layer() { return layer_; }
  mk::sound::SoundOutput& sound() { return sound_; }

 private:
  fs::path dir_;
  fs::path output_;
  fs::path previous_;
  mk::settings::MemorySettingsStore store_;
  mk::sound::SdlAudioLayer layer_;
  mk::sound::SoundOutput sound_{layer_, store_, nullptr};
};

void PlayToOutputLatency(benchmark::State& state) {
  DiskSound disk(state);
  double longest = 0;
  std::mt19937 random(1);
  std::uniform_int_distribution<int> phase(
      0, 1'000'000 * mk::sound::SdlAudioLayer::kBufferFrames / mk::sound::kMixRate);
  for (auto _ : state) {
    disk.sound().silence();
    // Past the last buffer mixed before the silence, then anywhere in a
    // buffer's time: a fixed wait would lock onto the device's beat.
    std::this_thread::sleep_for(std::chrono::microseconds(40000 + phase(random)));
    record(state, disk.playUntilMixed(), longest);
  }
}
BENCHMARK(PlayToOutputLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

void FirstSoundAfterIdleClose(benchmark::State& state) {
  DiskSound disk(state);
  double longest = 0;
  for (auto _ : state) {
    disk.sound().silence();
    while (disk.layer().deviceOpen()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    record(state, disk.playUntilMixed(), longest);
  }
}
BENCHMARK(FirstSoundAfterIdleClose)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
