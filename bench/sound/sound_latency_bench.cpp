// How long after Snd_Play the sound reaches the output device: SDL's disk
// driver writes each mixed buffer to a file as a sound card would play it,
// and the time until the first non-silent sample appears there is measured.
// The target is about 12 ms (one 256-frame buffer at 22,050 Hz).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "settings/settings_store.h"
#include "sound/sdl_audio.h"
#include "sound/sound_output.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

bool soundFrom(const fs::path& file, std::uintmax_t offset) {
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(offset));
  std::int16_t sample = 0;
  while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
    if (sample > 1000 || sample < -1000) return true;
  return false;
}

void PlayToOutputLatency(benchmark::State& state) {
  std::string pattern = (fs::temp_directory_path() / "mk-latency-XXXXXX").string();
  const fs::path dir = mkdtemp(pattern.data());
  const fs::path output = dir / "out.raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
  fs::copy(fs::path(MK_DATA_DIR) / "Sound", dir / "Sound");
  const fs::path previous = fs::current_path();
  fs::current_path(dir);

  mk::settings::MemorySettingsStore store;
  mk::sound::SdlMixerLayer layer;
  mk::sound::SoundOutput sound(layer, store, nullptr);
  if (!sound.Snd_Init(0)) state.SkipWithError("the sound files did not load");
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::milliseconds(40));  // let the last sound's tail pass
    const std::uintmax_t before = fs::file_size(output);
    const auto start = Clock::now();
    sound.play(mk::engine::Sample::Got);
    while (!soundFrom(output, before)) std::this_thread::sleep_for(std::chrono::microseconds(200));
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    sound.silence();
  }
  sound.Snd_Shutdown();
  fs::current_path(previous);
  fs::remove_all(dir);
}
BENCHMARK(PlayToOutputLatency)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

}  // namespace

BENCHMARK_MAIN();
