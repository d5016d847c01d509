#include "sound/sound_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settings_store.h"

using namespace mk::sound;
using mk::settings::MemorySettingsStore;

namespace {

// Records every library call, with the stored SoundMode at the moment of
// the call, and hands out its own handles (#0, #1, ...).
class RecordingLayer : public AudioLayer {
 public:
  explicit RecordingLayer(MemorySettingsStore& store) : store_(store) {}

  bool init(int rate, int channels, unsigned flags) override { return log("init", rate, channels, flags); }
  bool setOutput(int type) override { return log("setOutput", type); }
  SampleHandle sampleLoad(int index, const std::string& path, unsigned mode, int offset, int length) override {
    log("load", index, path, mode, offset, length);
    if (std::find(missing.begin(), missing.end(), path) != missing.end()) return nullptr;
    return samples_.emplace_back(std::make_unique<AudioSample>()).get();
  }
  int playSound(int channel, SampleHandle sample) override { return log("play", channel, nameOf(sample)) ? 0 : -1; }
  bool stopSound(int channel) override { return log("stop", channel); }
  void sampleFree(SampleHandle sample) override { log("free", nameOf(sample)); }
  void close() override { log("close"); }

  std::string nameOf(SampleHandle sample) const {
    for (std::size_t i = 0; i < samples_.size(); ++i)
      if (samples_[i].get() == sample) return "#" + std::to_string(i);
    return sample ? "?" : "null";
  }

  std::vector<std::string> calls;
  std::vector<std::string> soundModeAtCall;
  std::vector<std::string> missing;

 private:
  template <typename... Args>
  bool log(const char* name, const Args&... args) {
    std::ostringstream call;
    call << name;
    ((call << ' ' << args), ...);
    calls.push_back(call.str());
    auto it = store_.values().find("SoundMode");
    soundModeAtCall.push_back(it == store_.values().end() ? "" : it->second);
    return true;
  }
  MemorySettingsStore& store_;
  std::vector<std::unique_ptr<AudioSample>> samples_;
};

struct Rig {
  MemorySettingsStore store;
  RecordingLayer layer{store};
  std::vector<std::string> errors;
  SoundOutput sound{layer, store, [this](std::string_view text) { errors.emplace_back(text); }};
};

using Calls = std::vector<std::string>;

}  // namespace

// "(no sound)" must never touch the library, so a machine without any audio
// stack plays silently; shutting down still frees three null handles.
TEST(SoundOutput, NoSoundStoresTwoAndNeverCallsTheLibraryUntilShutdown) {
  Rig rig;
  EXPECT_TRUE(rig.sound.Snd_Init(3));  // no entry at that place: nothing stored
  EXPECT_TRUE(rig.store.values().empty());
  EXPECT_TRUE(rig.sound.Snd_Init(2));
  EXPECT_EQ(rig.store.values().at("SoundMode"), "2");
  EXPECT_FALSE(rig.sound.SoundEnabled);
  rig.sound.play(mk::engine::Sample::Got);
  rig.sound.Snd_Play(nullptr);
  rig.sound.silence();
  EXPECT_TRUE(rig.layer.calls.empty());
  rig.sound.Snd_Shutdown();
  EXPECT_EQ(rig.layer.calls, (Calls{"free null", "free null", "free null", "close"}));
}

// The choice is stored before the library is called, so a library that
// hangs or crashes the program still leaves the choice on disk.
TEST(SoundOutput, OutputsStoreTheirModeFirstThenInitSetOutputAndLoadInOrder) {
  struct Case {
    int entry;
    const char* mode;
    const char* output;
  };
  for (const Case& c : {Case{0, "0", "setOutput 2"}, Case{1, "1", "setOutput 1"}}) {
    Rig rig;
    EXPECT_TRUE(rig.sound.Snd_Init(c.entry));
    EXPECT_TRUE(rig.sound.SoundEnabled);
    EXPECT_EQ(rig.layer.calls, (Calls{"init 22050 64 0", c.output, "load -1 Sound/Got.wav 8192 0 0",
                                      "load -1 Sound/Move.wav 8192 0 0", "load -1 Sound/Start.wav 8192 0 0"}))
        << c.entry;
    EXPECT_EQ(rig.layer.soundModeAtCall.front(), c.mode);
    EXPECT_TRUE(rig.errors.empty());

    rig.layer.calls.clear();
    rig.sound.play(mk::engine::Sample::Start);
    rig.sound.play(mk::engine::Sample::Got);
    rig.sound.silence();
    rig.sound.Snd_Shutdown();
    EXPECT_EQ(rig.layer.calls, (Calls{"play -1 #2", "play -1 #0", "stop -3", "free #0", "free #1", "free #2",
                                      "close"}));
  }
}

// Only the first sample is tested: a missing Got.wav means a broken install,
// and the next start must ask for the output again.
TEST(SoundOutput, MissingFirstSampleReportsAndResetsTheChoice) {
  Rig rig;
  rig.layer.missing = {"Sound/Got.wav"};
  rig.store.writeInt("SplashScreen", 0);
  EXPECT_FALSE(rig.sound.Snd_Init(1));
  EXPECT_EQ(rig.errors, (std::vector<std::string>{"Sound folder unproperly installed. Please reinstall the game."}));
  EXPECT_EQ(rig.store.values().at("SoundMode"), "-1");
  EXPECT_EQ(rig.store.values().at("SplashScreen"), "1");

  Rig partial;
  partial.layer.missing = {"Sound/Move.wav", "Sound/Start.wav"};
  EXPECT_TRUE(partial.sound.Snd_Init(0));
  EXPECT_EQ(partial.sound.SampleMove, nullptr);
  EXPECT_TRUE(partial.errors.empty());
  EXPECT_EQ(partial.store.values().at("SoundMode"), "0");
}

// Setting up twice must not leak the first samples.
TEST(SoundOutput, SecondSetUpFreesTheFirstSamples) {
  Rig rig;
  ASSERT_TRUE(rig.sound.Snd_Init(0));
  rig.layer.calls.clear();
  ASSERT_TRUE(rig.sound.Snd_Init(1));
  EXPECT_EQ(Calls(rig.layer.calls.begin(), rig.layer.calls.begin() + 3), (Calls{"free #0", "free #1", "free #2"}));
  EXPECT_EQ(rig.layer.nameOf(rig.sound.SampleGot), "#3");
}
