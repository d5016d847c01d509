#pragma once

#include "ui/menus.h"

namespace mk::ui {
class TAboutForm;
class TKeysForm;
class TManualForm;
class TSplashForm;
}  // namespace mk::ui

namespace mk::app {

class TForm1;

// The dialogs the menu opens, owned by the program, created after the main
// window; each may be missing (a test without them).
struct Dialogs {
  ui::TAboutForm* about = nullptr;
  ui::TKeysForm* keys = nullptr;
  ui::TManualForm* manual = nullptr;
  ui::TSplashForm* splash = nullptr;
};

// The commands of the popup menu and the in-game menu, on the main window
// that owns both menus.
class ShellCommands final : public ui::MenuCommands {
 public:
  explicit ShellCommands(TForm1& window) : window_(window) {}

  void setDialogs(const Dialogs& dialogs) { dialogs_ = dialogs; }

  void pm_0_menuPopup() override;
  void pm_1_aboutClick() override;
  void pm_2_readmeClick() override;
  void pm_3_whatsnewClick() override;
  void pm_4_manualClick() override;
  void pm_6_configClick() override;
  void pm_7_keysClick() override;
  void pm_8_hiscoreClick() override;
  void pm_10_fullscreenClick() override;
  void pm_11_splashscreenClick() override;
  void pm_14_exitClick() override;

 private:
  void openDocument(const char* fileName);

  TForm1& window_;
  Dialogs dialogs_;
};

}  // namespace mk::app
