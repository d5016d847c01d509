#pragma once

#include <QUrl>

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "app/session_options.h"
#include "settings/settings_store.h"
#include "tools/sim/recording.h"
#include "sound/audio_layer.h"

namespace mk::app {

// What the shell takes from the desktop. Tests replace parts of it; every
// part left empty is the desktop's own (withDesktopDefaults).
struct ShellEnvironment {
  std::function<std::unique_ptr<settings::SettingsStore>()> openStore;  // the per-user store
  std::filesystem::path configPath;                                     // Config.ini beside the executable
  std::function<std::unique_ptr<sound::AudioLayer>()> makeAudio;       // SDL's audio device
  std::function<void(std::string_view)> showError;  // a modal message box titled "Error"
  std::function<void()> requestTermination;         // ends the event loop once it runs
  std::function<void(const QUrl&)> openUrl;         // the desktop's "open", which tells when nothing opened it
  // The program takes the game controllers once its first window is painted;
  // the benchmarks measure it without them as well.
  enum class GameControllers { Used, Ignored };
  GameControllers gameControllers = GameControllers::Used;
  // The session's recording and trace files, from the command line.
  SessionOptions session;
  // A recording to play back instead of the player's buttons.
  std::optional<sim::Recording> replay;
};

// The environment with every empty part filled in. Needs the application
// object (for the executable's folder).
ShellEnvironment withDesktopDefaults(ShellEnvironment environment);

}  // namespace mk::app
