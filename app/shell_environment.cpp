#include "app/shell_environment.h"

#include <QCoreApplication>

#include "app/desktop_open.h"
#include "settings/user_settings_store.h"
#include "sound/sdl_audio.h"
#include "ui/error_box.h"

namespace mk::app {

ShellEnvironment withDesktopDefaults(ShellEnvironment environment) {
  ShellEnvironment& env = environment;
  if (!env.openStore) env.openStore = [] { return std::make_unique<settings::UserSettingsStore>(); };
  if (env.configPath.empty())
    env.configPath = std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / "Config.ini";
  if (!env.makeAudio) env.makeAudio = [] { return std::make_unique<sound::SdlAudioLayer>(); };
  // No parent: the main window may be out of sight, and the box must not be.
  if (!env.showError) env.showError = [](std::string_view text) { ui::showErrorBox(nullptr, text); };
  // Not QCoreApplication::quit: that closes every window first, which would
  // run the main window's close handler. Queued, so it takes effect once the
  // event loop runs.
  if (!env.requestTermination)
    env.requestTermination = [] {
      QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    };
  if (!env.openUrl) env.openUrl = [showError = env.showError](const QUrl& url) { openWithTheDesktop(url, showError); };
  return environment;
}

}  // namespace mk::app
