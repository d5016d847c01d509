#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

#include "app/keyboard_owner.h"
#include "app/shell_environment.h"
#include "ui/splash_form.h"

namespace mk::ui {
class TAboutForm;
class TKeysForm;
class TManualForm;
}  // namespace mk::ui

namespace mk::app {

class TForm1;

// The program: its five windows, created once in their order and living
// until it ends, and the two flags of its start and end. It is also what the
// splash dialog's Play asks to start the handheld.
class Program final : private ui::SplashHost {
 public:
  explicit Program(ShellEnvironment environment = {});
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Creates the windows in their order, each creation handler running as its
  // window is created.
  void create();
  // Runs the event loop, unless termination was asked for already; the
  // loop's result. The main window is not shown before play begins.
  int exec();

  // Ends the event loop once the current handler has returned, without
  // closing any window (closing the main window would run its close
  // handler). A request made before the loop runs ends the program instead
  // of entering it.
  void endEventLoop();

  // The five windows, in their order of creation.
  TForm1* Form1 = nullptr;
  ui::TAboutForm* AboutForm = nullptr;
  ui::TKeysForm* KeysForm = nullptr;
  ui::TManualForm* ManualForm = nullptr;
  ui::TSplashForm* SplashForm = nullptr;

  // True until the splash has been dealt with: shown by the main window's
  // first activation, or skipped by the splash dialog itself.
  bool SplashPending = true;
  bool terminationRequested = false;

 private:
  void mainWindowActivated();

  // SplashHost
  settings::SettingsStore& settingsStore() override;
  bool Snd_Init(int position) override;
  void setSplashMenuChecked(bool checked) override;
  void centreMainWindow() override;
  void switchHandheldOn() override;
  void clearSplashPending() override { SplashPending = false; }
  void requestTermination() override { env_.requestTermination(); }
  void openUrl(const QUrl& url) override { env_.openUrl(url); }

  ShellEnvironment env_;
  std::unique_ptr<KeyboardOwner> keyboard_;
  // Destroyed in the reverse order of creation.
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<ui::TAboutForm> aboutForm_;
  std::unique_ptr<ui::TKeysForm> keysForm_;
  std::unique_ptr<ui::TManualForm> manualForm_;
  std::unique_ptr<ui::TSplashForm> splashForm_;
  // Starts the game controllers after the first paint; goes before the windows.
  std::unique_ptr<QObject> firstPaintWatch_;
};

// Everything the program entry does, in its order: the toolkit, the
// program's windows, the event loop. `afterCreation`, when given, runs once
// the windows exist and before the loop, and `environment` stands in for what
// the desktop gives (the benchmarks measure through both; the shipped program
// passes nothing).
int runProgram(int argc, char* argv[], const std::function<void(TForm1&)>& afterCreation = {},
               ShellEnvironment environment = {});

}  // namespace mk::app
